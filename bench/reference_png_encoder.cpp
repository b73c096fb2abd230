#include "reference_png_encoder.hpp"

#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace {
void append_bytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void no_flush(png_structp) {}

// Owns libpng's write structures.
struct PngWrite {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    ~PngWrite() { png_destroy_write_struct(&png, &info); }
};

// Kept free of objects with destructors: libpng reports errors by longjmp.
bool write_rows(png_structp png, png_infop info, std::vector<std::uint8_t>* out, int width, int height, bool with_alpha,
                png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, append_bytes, no_flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 with_alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
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

std::optional<std::vector<std::uint8_t>> encode_png_with_zlib(const RasterImage& image,
                                                              const std::vector<std::uint8_t>* alpha) {
    const int width = image.width(), height = image.height();
    if (image.empty()) return std::nullopt;
    const bool with_alpha = alpha != nullptr;
    if (with_alpha && alpha->size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return std::nullopt;

    // RGB rows are the image's own; RGBA rows are interleaved once here.
    std::vector<std::uint8_t> rgba;
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    if (with_alpha) {
        rgba.resize(static_cast<std::size_t>(width) * height * 4);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* src = image.row(y);
            std::uint8_t* dst = &rgba[static_cast<std::size_t>(y) * width * 4];
            const std::uint8_t* a = &(*alpha)[static_cast<std::size_t>(y) * width];
            for (int x = 0; x < width; ++x) {
                dst[4 * x] = src[3 * x];
                dst[4 * x + 1] = src[3 * x + 1];
                dst[4 * x + 2] = src[3 * x + 2];
                dst[4 * x + 3] = a[x];
            }
            rows[y] = dst;
        }
    } else {
        for (int y = 0; y < height; ++y) rows[y] = const_cast<png_bytep>(image.row(y));
    }
    PngWrite handles;
    if (!handles.png || !handles.info) return std::nullopt;
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(width) * height / 4 + 1024);
    if (!write_rows(handles.png, handles.info, &out, width, height, with_alpha, rows.data())) return std::nullopt;
    return out;
}
