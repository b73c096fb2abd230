#include "canvas/png_image.hpp"

#include <png.h>

#include <cstring>

std::optional<RasterImage> image_from_png(std::span<const std::uint8_t> png_bytes) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png_bytes.data(), png_bytes.size())) return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    if (image.width == 0 || image.height == 0 || image.width > 65535 || image.height > 65535) {
        png_image_free(&image);
        return std::nullopt;
    }
    RasterImage result(static_cast<int>(image.width), static_cast<int>(image.height));
    // RasterImage rows are tightly packed RGB, exactly libpng's RGB layout.
    if (!png_image_finish_read(&image, nullptr, result.row(0), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return result;
}
