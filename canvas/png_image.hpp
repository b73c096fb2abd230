#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <optional>
#include <span>

// Decodes a PNG held in memory into an RGB image; any colour type and bit
// depth libpng understands is converted to 8-bit RGB (alpha is dropped).
// Returns nothing when the data is not a readable PNG.
std::optional<RasterImage> image_from_png(std::span<const std::uint8_t> png_bytes);
