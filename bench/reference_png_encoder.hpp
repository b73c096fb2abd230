#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <optional>
#include <vector>

// The renderer's earlier PNG writer, kept as the yardstick for the one in
// canvas/: libpng with zlib at level 1, run-length matches only, no row
// filter.
std::optional<std::vector<std::uint8_t>> encode_png_with_zlib(const RasterImage& image,
                                                              const std::vector<std::uint8_t>* alpha = nullptr);
