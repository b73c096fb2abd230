#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <vector>

// The bytes of an image file: a PNG, RGBA when alpha is given (one byte a
// pixel, 0 where nothing was painted), or the window's 24-bit BMP. Empty when
// the image could not be encoded.
std::vector<std::uint8_t> encode_image(const RasterImage& image, const std::vector<std::uint8_t>* alpha, bool png);
