#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>

// The About picture: a house tile drawn by the real house generator with
// fixed settings and a fixed seed from the given sheets, cropped around the
// house to 140 x 133. The same sheets give the same picture, pixel for pixel.
inline constexpr int about_width = 140;
inline constexpr int about_height = 133;
inline constexpr std::uint64_t about_seed = 0xAB07;

RasterImage render_about_image(const RasterImage& building_sheet, const RasterImage& ground_sheet,
                               const RasterImage& boulder_sheet, std::uint64_t seed = about_seed);
