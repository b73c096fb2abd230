#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <vector>

// How much of each pixel of a drawn tile is covered, 0 to 255, one byte a
// pixel, row-major.

// An over tile's coverage from its draws over black and over white: laid
// source-over on the background, a pixel's white draw stands 255 - alpha
// above its black one in every channel.
std::vector<std::uint8_t> coverage_between(const RasterImage& on_black, const RasterImage& on_white);

// The draw over black holds colour x alpha: the colour itself, as the PNG
// files and engines take it, where coverage is partial.
void colour_under_coverage(RasterImage& image, const std::vector<std::uint8_t>& alpha);

// The smallest box holding every covered pixel; right < left when none is.
struct CoveredBox {
    int left, top, right, bottom;
};
CoveredBox covered_box(const std::uint8_t* coverage, int width, int height);
