#pragma once
#include <cstdint>

// One row of a tile drawn source-over onto the map image, with the arithmetic
// of the raster engine Tiled renders maps with (Qt 5.15 onto an unpremultiplied
// ARGB32 image), so that our world.png and Tiled's render of the .tmx agree in
// every bit, partial alpha included. Qt does not blend 8-bit values directly:
// each draw fetches the row, premultiplies it to 16 bits, blends and converts
// it back, in groups of pixels whose treatment depends on their neighbours
// (all clear, all opaque or mixed) and on the CPU (AVX2 or not). Even a clear
// source pixel can move a faint destination pixel by one. Rows are
// independent, so bands of rows may be drawn in parallel.

// A tile's pixels premultiplied as Qt loads them: a << 24 | r << 16 | g << 8 | b.
std::uint32_t premultiplied_pixel(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);

// A row of a tile. Opaque and clear pixels over opaque or clear ones come
// out as plain copies (Qt's round trip gives back every such value), so a
// row without partial alpha over such a row is copied run by run.
struct OpaqueRun {
    int start = 0, end = 0;
};
struct SourceRow {
    const std::uint32_t* premultiplied = nullptr;  // the row as Qt holds it
    const std::uint8_t* rgb = nullptr;             // its colours, 3 bytes a pixel (what opaque pixels show)
    const OpaqueRun* runs = nullptr;               // its opaque runs, left to right
    int run_count = 0;
    bool has_partial = false;
};

// Draws the row's pixels from `from` on, n of them, onto n destination
// pixels (rgb: 3 bytes a pixel, alpha: 1): one draw's row as Qt's span, its
// x clipped to the image.
void blend_span(const SourceRow& row, int from, std::uint8_t* rgb, std::uint8_t* alpha, int n);
