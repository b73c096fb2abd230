#include "canvas/surface_map.hpp"

#include <algorithm>

SurfaceMap::SurfaceMap(int width, int height, int origin_x, int origin_y)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      origin_x_(origin_x),
      origin_y_(origin_y),
      ids_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

void SurfaceMap::clear() {
    std::fill(ids_.begin(), ids_.end(), 0);
    surfaces_.resize(1);
}

SurfaceId SurfaceMap::add(const Surface& surface) {
    surfaces_.push_back(surface);
    return static_cast<SurfaceId>(surfaces_.size() - 1);
}

void SurfaceMap::mark_span(int x0, int x1, int y, SurfaceId id) {
    std::fill(ids_.begin() + static_cast<std::ptrdiff_t>(offset(x0, y)),
              ids_.begin() + static_cast<std::ptrdiff_t>(offset(x1, y)) + 1, id);
}
