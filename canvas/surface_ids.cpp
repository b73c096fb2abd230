#include "canvas/surface_ids.hpp"

#include <algorithm>

SurfaceIds::SurfaceIds(int width, int height, int origin_x, int origin_y)
    : width_(std::clamp(width, 1, 65535)),
      height_(std::clamp(height, 1, 65535)),
      origin_x_(origin_x),
      origin_y_(origin_y),
      ids_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0),
      marked_(static_cast<std::size_t>(height_), Marked{width_, -1}),
      seen_(ids_.size(), 0),
      listed_(ids_.size() + 1) {}

void SurfaceIds::clear() {
    // Only a marked row's marked columns hold anything but flat ground
    // painted as it is; filled a row at a time, they are written in order.
    for (int y = 0; y < height_; ++y) {
        Marked& m = marked_[static_cast<std::size_t>(y)];
        if (m.first > m.last) continue;
        const auto from = static_cast<std::ptrdiff_t>(offset(m.first, y));
        const auto to = static_cast<std::ptrdiff_t>(offset(m.last, y)) + 1;
        std::fill(ids_.begin() + from, ids_.begin() + to, 0);
        std::fill(seen_.begin() + from, seen_.begin() + to, 0);
        if (!light_.empty()) std::fill(light_.begin() + from, light_.begin() + to, 1.0f);
        m = {width_, -1};
    }
    listed_count_ = 0;
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
