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

// What a source row holds, so that rows of only clear and opaque pixels over
// a clear or opaque destination take the plain path (same result).
enum SpanContent : std::uint8_t { span_has_opaque = 1, span_has_partial = 2 };

// Draws n source pixels onto n destination pixels (rgb: 3 bytes a pixel,
// alpha: 1), the whole row of one draw as Qt's span (x clipped to the image).
void blend_span(const std::uint32_t* source, std::uint8_t content, std::uint8_t* rgb, std::uint8_t* alpha, int n);
