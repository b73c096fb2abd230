#include "canvas/png_image.hpp"

#include <png.h>

#include <cstring>
#include <vector>

namespace {
// libpng allocates what a chunk's header claims before finding the file
// shorter: a text chunk claiming 2 GB would cost 2 GB. Every chunk up to
// IEND must fit in the bytes there are. Empty when they do; data that is
// no PNG at all is left for libpng to name.
std::string chunk_that_overruns(std::span<const std::uint8_t> png) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (png.size() < 8 || std::memcmp(png.data(), signature, 8) != 0) return {};
    for (std::size_t at = 8; at + 8 <= png.size();) {
        const std::uint64_t length =
            (std::uint64_t{png[at]} << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
        const std::string type(reinterpret_cast<const char*>(&png[at + 4]), 4);
        if (length + 12 > png.size() - at)
            return "its " + type + " chunk claims " + std::to_string(length) + " bytes, more than the file holds";
        if (type == "IEND") return {};
        at += static_cast<std::size_t>(length) + 12;
    }
    return {};
}
}  // namespace

std::optional<RasterImage> image_from_png(std::span<const std::uint8_t> png_bytes) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!chunk_that_overruns(png_bytes).empty()) return std::nullopt;
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

DecodedSheet decode_texture_png(std::span<const std::uint8_t> png_bytes, int width, int height) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (const std::string overrun = chunk_that_overruns(png_bytes); !overrun.empty())
        return {std::nullopt, "is damaged (" + overrun + ")"};
    if (!png_image_begin_read_from_memory(&image, png_bytes.data(), png_bytes.size()))
        return {std::nullopt, std::string("is not a readable PNG (") + image.message + ")"};
    if (static_cast<int>(image.width) != width || static_cast<int>(image.height) != height) {
        const std::string size = std::to_string(image.width) + " x " + std::to_string(image.height);
        png_image_free(&image);
        return {std::nullopt, "is " + size + " pixels, not " + std::to_string(width) + " x " + std::to_string(height)};
    }
    // Read as RGBA and drop the alpha, so a transparent texel keeps its colour.
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        const std::string why = image.message;
        png_image_free(&image);
        return {std::nullopt, "is damaged (" + why + ")"};
    }
    RasterImage result(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = result.row(y);
        const std::uint8_t* src = &rgba[static_cast<std::size_t>(y) * width * 4];
        for (int x = 0; x < width; ++x) {
            row[3 * x] = src[4 * x];
            row[3 * x + 1] = src[4 * x + 1];
            row[3 * x + 2] = src[4 * x + 2];
        }
    }
    return {std::move(result), {}};
}
