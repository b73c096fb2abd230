#include "generators/tree/crown_domes.hpp"

#include "canvas/wide_loops.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {
// The crown's pixels, row after row: where each is, its centre in drawing
// coordinates, the cluster that painted it last and the dome it takes.
struct CrownPixels {
    std::unique_ptr<SurfaceIds::Place[]> place;
    std::unique_ptr<float[]> cx, cy;
    std::unique_ptr<int[]> under, front;
    std::vector<std::size_t> row_start;  // a row's first pixel; one more row ends the last
    std::size_t count = 0;
};

// Numbers each written before they are read, so not cleared first.
template <class T>
std::unique_ptr<T[]> scratch(std::size_t count) {
    return std::make_unique_for_overwrite<T[]>(std::max<std::size_t>(count, 1));
}

// Every pixel whose last paint was a leaf of a cluster before the last: the
// last cluster's leaves have nothing in front of them. Gathered from the
// pixels the map lists without a branch, as most of them are not.
CrownPixels crown_pixels(const SurfaceIds& map, SurfaceId first, SurfaceId last) {
    const std::size_t listed = map.listed_count();
    const SurfaceIds::Place* places = map.listed();
    auto found = scratch<SurfaceIds::Place>(listed);
    auto found_under = scratch<int>(listed);
    const SurfaceId behind = last - first;
    std::size_t count = 0;
    for (std::size_t i = 0; i < listed; ++i) {
        const SurfaceId id = map.at(places[i].x, places[i].y);
        found[count] = places[i];
        found_under[count] = static_cast<int>(id);
        count += id - first < behind;
    }
    // Put row by row, so that a dome need only weigh the rows it reaches.
    CrownPixels crown;
    crown.count = count;
    crown.row_start.assign(static_cast<std::size_t>(map.height()) + 1, 0);
    for (std::size_t i = 0; i < count; ++i) ++crown.row_start[found[i].y + 1u];
    for (std::size_t y = 1; y < crown.row_start.size(); ++y) crown.row_start[y] += crown.row_start[y - 1];
    std::vector<std::size_t> next(crown.row_start.begin(), crown.row_start.end() - 1);
    crown.place = scratch<SurfaceIds::Place>(count), crown.under = scratch<int>(count);
    crown.cx = scratch<float>(count), crown.cy = scratch<float>(count), crown.front = scratch<int>(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = next[found[i].y]++;
        crown.place[at] = found[i];
        crown.cx[at] = static_cast<float>(found[i].x - map.origin_x()) + 0.5f;
        crown.cy[at] = static_cast<float>(found[i].y - map.origin_y()) + 0.5f;
        crown.under[at] = crown.front[at] = found_under[i];
    }
    return crown;
}

// Pixel i moves to the dome when the dome holds its centre and was drawn
// after the cluster under it. No branch, so a few pixels go at a time.
WIDE_LOOPS void dome_over(const ClusterDome& dome, std::size_t begin, std::size_t end, const float* __restrict xs,
                          const float* __restrict ys, const int* __restrict under, int* __restrict front) {
    const float cx = dome.cx, cy = dome.cy, inv_rx = dome.inv_rx, inv_ry = dome.inv_ry;
    const int id = static_cast<int>(dome.id);
    for (std::size_t i = begin; i < end; ++i) {
        const float u = (xs[i] - cx) * inv_rx, v = (ys[i] - cy) * inv_ry;
        const int in_front = (u * u + v * v <= 1.0f) & (id > under[i]);
        front[i] = in_front ? id : front[i];
    }
}
}  // namespace

// Each dome is laid, in drawing order, over the crown's pixels of the rows
// it reaches, so each pixel ends on the last dome that holds it and is in
// front of the cluster that painted it.
void smooth_crown(DrawingContext& dc, const std::vector<ClusterDome>& domes) {
    SurfaceIds* map = dc.surface_ids();
    if (!map || domes.empty()) return;
    const CrownPixels crown = crown_pixels(*map, domes.front().id, domes.back().id);
    const int rows = map->height();
    for (const ClusterDome& dome : domes) {
        // A row more than the radius from the centre holds none of the dome;
        // a row's margin keeps rounding on the safe side.
        const float reach = 1.0f / dome.inv_ry + 1.0f;
        const int top = std::clamp(static_cast<int>(std::floor(dome.cy - reach)) + map->origin_y(), 0, rows);
        const int bottom = std::clamp(static_cast<int>(std::ceil(dome.cy + reach)) + map->origin_y() + 1, top, rows);
        dome_over(dome, crown.row_start[static_cast<std::size_t>(top)],
                  crown.row_start[static_cast<std::size_t>(bottom)], crown.cx.get(), crown.cy.get(), crown.under.get(),
                  crown.front.get());
    }
    for (std::size_t i = 0; i < crown.count; ++i)
        if (crown.front[i] != crown.under[i])
            map->mark(crown.place[i].x, crown.place[i].y, static_cast<SurfaceId>(crown.front[i]));
}
