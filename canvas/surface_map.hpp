#pragma once
#include "canvas/surface.hpp"

#include <cstdint>
#include <vector>

using SurfaceId = std::uint32_t;

// A drawing target beside the colour image: for every pixel, which surface
// painted it last. Surfaces are numbered as they are named; number 0 is flat
// ground, what a cleared map holds everywhere. Pixels are the target's;
// surfaces are described in drawing coordinates, which the origin moves (as
// a tile canvas's does).
class SurfaceMap {
public:
    SurfaceMap() = default;
    SurfaceMap(int width, int height, int origin_x = 0, int origin_y = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return ids_.empty(); }
    int origin_x() const { return origin_x_; }
    int origin_y() const { return origin_y_; }

    // Back to flat ground everywhere, with only surface 0 named.
    void clear();
    SurfaceId add(const Surface& surface);
    const Surface& surface(SurfaceId id) const { return surfaces_[id]; }

    // Unchecked: the drawing context has clipped to the image already.
    void mark(int x, int y, SurfaceId id) { ids_[offset(x, y)] = id; }
    void mark_span(int x0, int x1, int y, SurfaceId id);
    SurfaceId at(int x, int y) const { return ids_[offset(x, y)]; }
    const SurfaceId* row(int y) const { return &ids_[offset(0, y)]; }

    SurfaceNormal normal(int x, int y) const { return normal_at(surfaces_[at(x, y)], x - origin_x_, y - origin_y_); }
    float height_above_ground(int x, int y) const {
        return height_at(surfaces_[at(x, y)], x - origin_x_, y - origin_y_);
    }

private:
    std::size_t offset(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_ = 0, height_ = 0;
    int origin_x_ = 0, origin_y_ = 0;
    std::vector<SurfaceId> ids_;
    std::vector<Surface> surfaces_{flat_ground()};
};
