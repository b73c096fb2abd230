#pragma once
#include "pixel_image.hpp"

#include <optional>
#include <string>

namespace texgen {

// Writes an 8-bit RGB, non-interlaced PNG. Returns false if the file cannot be written.
bool write_png(const std::string& path, const PixelImage& image);

// What a PNG file says about itself, for format checks.
struct PngInfo {
    int width = 0;
    int height = 0;
    int bit_depth = 0;
    int colour_type = 0;
    int interlace = 0;
};

// Reads the header of a PNG file; nothing if it is not a readable PNG.
std::optional<PngInfo> read_png_info(const std::string& path);

// Decodes an 8-bit RGB PNG; nothing for any other format or a broken file.
std::optional<PixelImage> read_png(const std::string& path);

}  // namespace texgen
