// Levels, rises and the ground of rising cells.
//
// A corner's raw level quantises its elevation; water is one below level
// 0, so that every corner next to water lies on level 0 and no rising cell
// touches water. The corners along the map's front edges are held on level
// 0. The levels are then made 1-Lipschitz in the Chebyshev metric: level(c) = min over n of raw(n) + dist(c, n), so
// neighbours, diagonals included, differ by at most one and every rising cell spans exactly one step.
//
// A slope never runs straight into a cliff. A corner on the first cliff
// level C touches a slope when a neighbour lies on C - 1 and a cliff when
// one lies on C + 1. The levels are smoothed on a scale with an empty level
// between C and C + 1, which puts C - 1 and C + 1 at least three corners
// apart: between them lies a flat band on level C.
//
// A cliff shows every turn of its outline as a face, so the outlines of
// the cliff levels are smoothed: a corner or two standing above the level
// round them would be a stub of rock face on a plateau, a corner or two
// below it a pit whose far wall stands alone, and a spur or a notch one
// corner wide a face in pieces; each is levelled with its surroundings.
#include "generators/world/world_levels.hpp"

#include "generators/world/world_fields.hpp"

#include <algorithm>
#include <cmath>

namespace {

struct HeightScale {
    int first_cliff;
    bool gap;  // an empty step between first_cliff and first_cliff + 1
    int height_of(int level) const { return level + (gap && level > first_cliff ? 1 : 0); }
    int level_of(int height) const {
        if (height < 0) return 0;
        return height - (gap && height > first_cliff ? 1 : 0);
    }
};

HeightScale height_scale(int levels) { return {world_first_cliff(levels), levels > world_first_cliff(levels)}; }

// The smoothing passes that settle every corner: heights run from -1
// (water) to the top, and each pass settles one more step of distance.
int smoothing_passes(int levels) {
    const HeightScale scale = height_scale(levels);
    return scale.height_of(levels) + 1;
}

WorldTerrain terrain_of(const WorldThresholds& t, double elevation, double moisture) {
    if (elevation < t.deep_water) return WorldTerrain::deep_water;
    if (elevation < t.water) return WorldTerrain::water;
    if (elevation < t.shore) return WorldTerrain::shore;
    if (elevation >= t.snow) return WorldTerrain::snow;
    if (elevation >= t.rock) return WorldTerrain::rock;
    if (moisture < t.meadow) return WorldTerrain::meadow;
    if (moisture >= t.forest) return WorldTerrain::forest;
    return WorldTerrain::grass;
}

// Land from the shore up to halfway into the snow splits into levels + 1
// equal bands.
int raw_level(const WorldThresholds& t, int levels, double elevation) {
    const double top = std::max(t.shore + 1e-6, (t.rock + t.snow) / 2);
    const double f = (elevation - t.shore) / (top - t.shore);
    return std::clamp(static_cast<int>(std::floor(f * (levels + 1))), 0, levels);
}

// One pass of h = min(h, min over the 3 x 3 neighbourhood + 1), separably.
void settle_once(std::vector<int>& h, std::vector<int>& row_min, int width, int height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int i = y * width + x;
            int m = h[i];
            if (x > 0) m = std::min(m, h[i - 1]);
            if (x + 1 < width) m = std::min(m, h[i + 1]);
            row_min[i] = m;
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int i = y * width + x;
            int m = row_min[i];
            if (y > 0) m = std::min(m, row_min[i - width]);
            if (y + 1 < height) m = std::min(m, row_min[i + width]);
            h[i] = std::min(h[i], m + 1);
        }
}

// How far round a corner the outline of a cliff level is read, and how
// often it is smoothed.
constexpr int outline_reach = 2;
constexpr int outline_passes = 2;

// One pass smoothing the outline of cliff level `t` (the corners at t or
// above): a corner with at most two of its eight neighbours on its side
// goes over to the other (a stub, a one-corner spur), as does a corner
// below with six or more above it (a pit, a notch). No corner moves where
// that would put two neighbours two levels apart, or a corner below t - 1
// within two of one raised to t, so the levels stay a step apart and the
// flat band between slopes and cliffs stays whole. All corners read the
// pass before, so a chunk finds what the whole world does.
void smooth_outline(std::vector<std::uint8_t>& level, int width, int height, int t) {
    std::vector<std::uint8_t> next = level;
    const auto at = [&](int x, int y) { return static_cast<int>(level[static_cast<std::size_t>(y) * width + x]); };
    for (int y = outline_reach; y + outline_reach < height; ++y)
        for (int x = outline_reach; x + outline_reach < width; ++x) {
            const int here = at(x, y);
            if (here != t && here != t - 1) continue;
            int above = 0, lowest = here, highest = here, lowest_near = here;
            for (int dy = -outline_reach; dy <= outline_reach; ++dy)
                for (int dx = -outline_reach; dx <= outline_reach; ++dx) {
                    const int n = at(x + dx, y + dy);
                    lowest_near = std::min(lowest_near, n);
                    if (std::abs(dx) > 1 || std::abs(dy) > 1 || (dx == 0 && dy == 0)) continue;
                    above += n >= t;
                    lowest = std::min(lowest, n), highest = std::max(highest, n);
                }
            std::uint8_t& out = next[static_cast<std::size_t>(y) * width + x];
            if (here == t && above <= 2 && highest <= t) out = static_cast<std::uint8_t>(t - 1);
            if (here == t - 1 && above >= 6 && lowest >= t - 1 && lowest_near >= t - 1)
                out = static_cast<std::uint8_t>(t);
        }
    level = std::move(next);
}

}  // namespace

int world_first_cliff(int levels) { return std::max(1, levels / 2); }

// Each cliff level's outline is smoothed after the levels settle, reading
// a few corners round, one level after another.
int world_level_reach(int levels) {
    const int cliff_levels = std::max(0, levels - world_first_cliff(levels));
    return smoothing_passes(levels) + 1 + outline_reach * outline_passes * cliff_levels;
}

void grow_world_patch(WorldPatch& patch, const WorldRequest& request) {
    const WorldFields fields(request);
    const int levels = std::max(0, request.levels);
    const HeightScale scale = height_scale(levels);
    const int w = patch.width, h = patch.height;
    const auto corners = static_cast<std::size_t>(w) * h;
    patch.terrain.assign(corners, WorldTerrain::deep_water);
    patch.level.assign(corners, 0);
    std::vector<int> height(corners, -1);
    for (int cy = 0; cy < h; ++cy)
        for (int cx = 0; cx < w; ++cx) {
            const int wx = patch.x0 + cx, wy = patch.y0 + cy;
            const double e = fields.elevation(wx, wy);
            const WorldTerrain t = terrain_of(request.thresholds, e, fields.moisture(wx, wy));
            patch.terrain[patch.at(cx, cy)] = t;
            if (!is_water(t)) height[patch.at(cx, cy)] = scale.height_of(raw_level(request.thresholds, levels, e));
            // The map's front edges lie on level 0: a raised cell there
            // would leave its drop open, with nothing in front to face it.
            const bool front_edge = wx == request.width || wy == request.height;
            if (front_edge) height[patch.at(cx, cy)] = std::min(height[patch.at(cx, cy)], 0);
        }
    if (levels > 0) {
        std::vector<int> row_min(corners);
        for (int pass = smoothing_passes(levels); pass > 0; --pass) settle_once(height, row_min, w, h);
    }
    for (std::size_t i = 0; i < corners; ++i) patch.level[i] = static_cast<std::uint8_t>(scale.level_of(height[i]));
    for (int t = scale.first_cliff + 1; t <= levels; ++t)
        for (int pass = 0; pass < outline_passes; ++pass) smooth_outline(patch.level, w, h, t);
    patch.field_terrain = patch.terrain;

    patch.rise.assign(static_cast<std::size_t>(w - 1) * (h - 1), 0);
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const int a = patch.level[patch.at(x, y)], b = patch.level[patch.at(x + 1, y)];
            const int c = patch.level[patch.at(x + 1, y + 1)], d = patch.level[patch.at(x, y + 1)];
            const int low = std::min({a, b, c, d}), high = std::max({a, b, c, d});
            if (low == high) continue;
            patch.rise[patch.cell_at(x, y)] = low < scale.first_cliff ? 1 : 2;
        }
}
