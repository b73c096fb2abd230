#include "canvas/raster_image.hpp"

#include <algorithm>
#include <cstring>

RasterImage::RasterImage(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3, 0) {}

RasterImage::RasterImage(int width, int height, Colour c) : width_(std::max(width, 1)), height_(std::max(height, 1)) {
    const std::uint8_t rgb_bytes[3] = {static_cast<std::uint8_t>(red(c)), static_cast<std::uint8_t>(green(c)),
                                       static_cast<std::uint8_t>(blue(c))};
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width_) * 3);
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = rgb_bytes[i % 3];
    pixels_.reserve(row.size() * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) pixels_.insert(pixels_.end(), row.begin(), row.end());
}

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
