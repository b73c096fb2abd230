#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Decodes a PNG held in memory into an RGB image; any colour type and bit
// depth libpng understands is converted to 8-bit RGB (alpha is dropped).
// Returns nothing when the data is not a readable PNG.
std::optional<RasterImage> image_from_png(std::span<const std::uint8_t> png_bytes);

// A texture sheet from untrusted bytes: any PNG colour type and bit depth is
// converted to 8-bit RGB, an alpha channel ignored (the colour kept, not
// blended), and the image must be exactly width x height. Checked before
// anything is allocated for the pixels; any bytes at all are safe.
struct DecodedSheet {
    std::optional<RasterImage> image;
    std::string problem;  // why there is no image
};
DecodedSheet decode_texture_png(std::span<const std::uint8_t> png_bytes, int width, int height);
