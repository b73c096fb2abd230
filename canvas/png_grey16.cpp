#include "canvas/png_grey16.hpp"

#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace {
void append_bytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void no_flush(png_structp) {}

struct PngWrite {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    ~PngWrite() { png_destroy_write_struct(&png, &info); }
};

// Kept free of objects with destructors: libpng reports errors by longjmp.
bool write_rows(png_structp png, png_infop info, std::vector<std::uint8_t>* out, int width, int height,
                bool with_alpha, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, append_bytes, no_flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 16,
                 with_alpha ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}
}  // namespace

std::optional<std::vector<std::uint8_t>> encode_png_grey16(int width, int height, const std::vector<std::uint16_t>& grey,
                                                           const std::vector<std::uint8_t>* alpha) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (width < 1 || height < 1 || grey.size() != pixels || (alpha && alpha->size() != pixels)) return std::nullopt;
    // PNG samples are big-endian.
    const int channels = alpha ? 2 : 1;
    std::vector<std::uint8_t> bytes(pixels * 2 * channels);
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint8_t* p = &bytes[i * 2 * channels];
        p[0] = static_cast<std::uint8_t>(grey[i] >> 8);
        p[1] = static_cast<std::uint8_t>(grey[i] & 255);
        if (alpha) p[2] = p[3] = (*alpha)[i] ? 255 : 0;
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) rows[y] = &bytes[static_cast<std::size_t>(y) * width * 2 * channels];
    PngWrite handles;
    if (!handles.png || !handles.info) return std::nullopt;
    std::vector<std::uint8_t> out;
    if (!write_rows(handles.png, handles.info, &out, width, height, alpha != nullptr, rows.data())) return std::nullopt;
    return out;
}
