#include "export/formats/tile_encoding.hpp"

#include "canvas/bmp_writer.hpp"
#include "canvas/png_writer.hpp"

std::vector<std::uint8_t> encode_image(const RasterImage& image, const std::vector<std::uint8_t>* alpha, bool png) {
    if (!png) return bmp_file_bytes(image);
    auto bytes = encode_png(image, alpha);
    return bytes ? std::move(*bytes) : std::vector<std::uint8_t>{};
}
