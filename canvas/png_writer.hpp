#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <optional>
#include <vector>

// Encodes an image as an 8-bit PNG in memory: RGB, or RGBA when an alpha
// plane (one byte a pixel, row-major, width x height) is given. Favours speed
// over size (fast deflate, sub filter), since tiles are written in bulk.
// Nothing when libpng fails.
std::optional<std::vector<std::uint8_t>> encode_png(const RasterImage& image,
                                                    const std::vector<std::uint8_t>* alpha = nullptr);
