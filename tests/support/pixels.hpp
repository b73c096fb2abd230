#pragma once
#include "canvas/raster_image.hpp"

#include <set>
#include <utility>

// The (x, y) of every pixel that is not black.
inline std::set<std::pair<int, int>> painted(const RasterImage& image) {
    std::set<std::pair<int, int>> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != 0) points.insert({x, y});
    return points;
}
