#include "canvas/raster_image.hpp"

#include <algorithm>
#include <cstring>

RasterImage::RasterImage(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3, 0) {}

RasterImage create_image(int width, int height) { return RasterImage(width, height); }

RasterImage grab_image(const RasterImage& source, int x, int y, int width, int height) {
    RasterImage copy(width, height);
    const int x0 = std::max(x, 0);
    const int x1 = std::min(x + copy.width(), source.width());
    if (x0 >= x1) return copy;
    const std::size_t bytes = static_cast<std::size_t>(x1 - x0) * 3;
    for (int j = 0; j < copy.height(); ++j) {
        const int sy = y + j;
        if (sy < 0 || sy >= source.height()) continue;
        std::memcpy(copy.row(j) + static_cast<std::size_t>(x0 - x) * 3,
                    source.row(sy) + static_cast<std::size_t>(x0) * 3, bytes);
    }
    return copy;
}
