#include "canvas/surface_ids.hpp"

#include <algorithm>

SurfaceIds::SurfaceIds(int width, int height, int origin_x, int origin_y)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      origin_x_(origin_x),
      origin_y_(origin_y),
      ids_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0),
      marked_(static_cast<std::size_t>(height_), Marked{width_, -1}) {}

void SurfaceIds::clear() {
    for (int y = 0; y < height_; ++y) {
        Marked& m = marked_[static_cast<std::size_t>(y)];
        if (m.first > m.last) continue;
        std::fill(ids_.begin() + static_cast<std::ptrdiff_t>(offset(m.first, y)),
                  ids_.begin() + static_cast<std::ptrdiff_t>(offset(m.last, y)) + 1, 0);
        if (!light_.empty())
            std::fill(light_.begin() + static_cast<std::ptrdiff_t>(offset(m.first, y)),
                      light_.begin() + static_cast<std::ptrdiff_t>(offset(m.last, y)) + 1, 1.0f);
        m = {width_, -1};
    }
    surfaces_.resize(1);
}

SurfaceId SurfaceIds::add(const Surface& surface) {
    surfaces_.push_back(surface);
    return static_cast<SurfaceId>(surfaces_.size() - 1);
}

void SurfaceIds::keep_light(bool keep) {
    if (keep == keeps_light()) return;
    // Unmarked pixels hold no light; marked ones start painted as they are.
    if (keep) light_.assign(ids_.size(), 1.0f);
    else light_.clear();
}
