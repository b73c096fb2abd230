#pragma once
#include "canvas/surface.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

using SurfaceId = std::uint32_t;

// A drawing target beside the colour image: for every pixel, which surface
// painted it last. Surfaces are numbered as they are named; number 0 is flat
// ground, what cleared ids hold everywhere. Pixels are the target's;
// surfaces are described in drawing coordinates, which the origin moves (as
// a tile canvas's does). Each row remembers the columns it was marked
// between, so clearing and reading cost what was painted, not the target.
class SurfaceIds {
public:
    SurfaceIds() = default;
    SurfaceIds(int width, int height, int origin_x = 0, int origin_y = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return ids_.empty(); }
    int origin_x() const { return origin_x_; }
    int origin_y() const { return origin_y_; }

    // Back to flat ground everywhere, with only surface 0 named.
    void clear();
    SurfaceId add(const Surface& surface);
    const Surface& surface(SurfaceId id) const { return surfaces_[id]; }

    std::size_t surface_count() const { return surfaces_.size(); }

    // Beside the ids, only when asked: the light each pixel was painted with,
    // as the factor its colour was scaled by (1: painted as it is). A
    // generator's own shading then comes out of the colour again.
    void keep_light(bool keep);
    bool keeps_light() const { return !light_.empty(); }
    // Unmarked pixels hold light 1 already, so painting as it is only
    // needs writing inside the marked columns (a background stays unmarked).
    void mark_light(int x, int y, float factor) {
        if (factor == 1.0f && !is_marked(x, y)) return;
        light_[offset(x, y)] = factor;
        widen(x, x, y);
    }
    void mark_light_span(int x0, int x1, int y, float factor) {
        if (factor == 1.0f) {
            const Marked& m = marked_[static_cast<std::size_t>(y)];
            x0 = std::max(x0, m.first), x1 = std::min(x1, m.last);
            if (x0 > x1) return;
        }
        std::fill(&light_[offset(x0, y)], &light_[offset(x1, y)] + 1, factor);
        widen(x0, x1, y);
    }
    // 1 everywhere when no light is kept.
    float light_at(int x, int y) const { return light_.empty() ? 1.0f : light_[offset(x, y)]; }
    // Row y's light, pixel by pixel (only when light is kept).
    const float* light_row(int y) const { return &light_[offset(0, y)]; }

    // Unchecked: the drawing context has clipped to the image already.
    // Outside a row's marked columns every pixel is flat ground already, so
    // flat ground only needs writing inside them.
    void mark(int x, int y, SurfaceId id) {
        if (id == 0 && !is_marked(x, y)) return;
        ids_[offset(x, y)] = id;
        widen(x, x, y);
    }
    void mark_span(int x0, int x1, int y, SurfaceId id) {
        if (id == 0) {
            const Marked& m = marked_[static_cast<std::size_t>(y)];
            x0 = std::max(x0, m.first), x1 = std::min(x1, m.last);
            if (x0 > x1) return;
        }
        std::fill(&ids_[offset(x0, y)], &ids_[offset(x1, y)] + 1, id);
        widen(x0, x1, y);
    }
    // Both at once, when light is kept: as mark() then mark_light(), with one
    // widening (the first to write marks the pixel for the other).
    void mark_lit(int x, int y, SurfaceId id, float factor) {
        if (id == 0 && factor == 1.0f && !is_marked(x, y)) return;
        const std::size_t at = offset(x, y);
        ids_[at] = id;
        light_[at] = factor;
        widen(x, x, y);
    }
    SurfaceId at(int x, int y) const { return ids_[offset(x, y)]; }
    const SurfaceId* row(int y) const { return &ids_[offset(0, y)]; }
    // The columns of row y marked since the last clear (first > last: none);
    // every other pixel of the row is flat ground.
    int first_marked(int y) const { return marked_[static_cast<std::size_t>(y)].first; }
    int last_marked(int y) const { return marked_[static_cast<std::size_t>(y)].last; }

private:
    std::size_t offset(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    struct Marked {
        int first, last;
    };
    bool is_marked(int x, int y) const {
        const Marked& m = marked_[static_cast<std::size_t>(y)];
        return x >= m.first && x <= m.last;
    }
    void widen(int x0, int x1, int y) {
        Marked& m = marked_[static_cast<std::size_t>(y)];
        m.first = std::min(m.first, x0);
        m.last = std::max(m.last, x1);
    }

    int width_ = 0, height_ = 0;
    int origin_x_ = 0, origin_y_ = 0;
    std::vector<SurfaceId> ids_;
    std::vector<float> light_;
    std::vector<Marked> marked_;
    std::vector<Surface> surfaces_{flat_ground()};
};
