#include "generators/world/world_ground.hpp"

#include <algorithm>
#include <array>

namespace {

// Cells in front of a cell on screen, in its column of the map or the
// columns beside: those next to it, whose tiles meet it, and the row
// beyond, a cell's height further down the screen. (Cells further out
// in their row lie in other columns, which tiles do not cross.)
constexpr std::array<std::array<int, 2>, 3> next_in_front = {{{1, 0}, {0, 1}, {1, 1}}};
constexpr std::array<std::array<int, 2>, 3> beyond_in_front = {{{2, 1}, {1, 2}, {2, 2}}};

// Per corner, the Chebyshev distance to the nearest marked corner, up to
// `cap`: cap passes of a 3 x 3 minimum, separably.
std::vector<std::uint8_t> distance_to(const std::vector<std::uint8_t>& marked, int w, int h, int cap) {
    std::vector<std::uint8_t> d(marked.size()), rows(marked.size());
    for (std::size_t i = 0; i < marked.size(); ++i) d[i] = marked[i] ? 0 : static_cast<std::uint8_t>(cap);
    for (int pass = 0; pass < cap; ++pass) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int i = y * w + x;
                std::uint8_t m = d[i];
                if (x > 0) m = std::min(m, d[i - 1]);
                if (x + 1 < w) m = std::min(m, d[i + 1]);
                rows[i] = m;
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int i = y * w + x;
                std::uint8_t m = rows[i];
                if (y > 0) m = std::min(m, rows[i - w]);
                if (y + 1 < h) m = std::min(m, rows[i + w]);
                d[i] = std::min<std::uint8_t>(d[i], static_cast<std::uint8_t>(m + 1));
            }
    }
    return d;
}

}  // namespace

int world_ground_reach() { return std::max(world_forest_depth(), world_house_water_reach()) + 1; }

WorldGround::WorldGround(const WorldPatch& patch) : patch_(patch) {
    const int w = patch.width, h = patch.height;
    const std::size_t corners = static_cast<std::size_t>(w) * h;
    std::vector<std::uint8_t> wet(corners), forest(corners), open(corners);
    for (std::size_t i = 0; i < corners; ++i) {
        wet[i] = is_water(patch.terrain[i]);
        forest[i] = patch.field_terrain[i] == WorldTerrain::forest;
        open[i] = !forest[i];
    }
    const std::vector<std::uint8_t> to_water = distance_to(wet, w, h, world_house_water_reach() + 1);
    const std::vector<std::uint8_t> to_forest = distance_to(forest, w, h, world_forest_depth());
    const std::vector<std::uint8_t> to_open = distance_to(open, w, h, world_forest_depth());

    facts_.resize(static_cast<std::size_t>(w - 1) * (h - 1));
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const std::array<int, 4> at = {patch.at(x, y), patch.at(x + 1, y), patch.at(x + 1, y + 1),
                                           patch.at(x, y + 1)};
            CellFacts& f = facts_[static_cast<std::size_t>(patch.cell_at(x, y))];
            std::array<int, world_terrain_count> count{};
            int shown_high = 0;
            f.low = patch.level[at[0]];
            f.settled = true;
            f.forest_depth = f.forest_distance = world_forest_depth();
            for (const int i : at) {
                const WorldTerrain t = patch.terrain[i];
                shown_high += t >= WorldTerrain::rock;
                f.snow_corners += t == WorldTerrain::snow;
                ++count[static_cast<int>(patch.field_terrain[i])];
                f.low = std::min<int>(f.low, patch.level[i]);
                f.top = std::max<int>(f.top, patch.level[i]);
                f.wet |= is_water(t);
                f.settled &= t == WorldTerrain::grass || t == WorldTerrain::meadow;
                f.near_water |= to_water[i] <= world_house_water_reach();
                f.forest_depth = std::min<int>(f.forest_depth, to_open[i]);
                f.forest_distance = std::min<int>(f.forest_distance, to_forest[i]);
            }
            f.rise = patch.rise[patch.cell_at(x, y)];
            f.bottom = patch.level[at[2]];
            for (int t = 0; t < world_terrain_count; ++t)
                if (count[t] >= 3) f.terrain = t;
            f.high = shown_high >= 3;
        }
}

bool WorldGround::may_stand(int x, int y) const {
    const CellFacts& f = at(x, y);
    return !f.wet && f.rise != 2 && clear_in_front(x, y, f.top);
}

bool WorldGround::clear_in_front(int x, int y, int level) const {
    // A cliff next in front rising at all would hide the foot; one beyond
    // only when it rises two levels, a cliff's face twice over.
    const auto rises_over = [&](int dx, int dy, int by) {
        const int fx = x + dx, fy = y + dy;
        if (fx >= width() || fy >= height()) return false;
        const CellFacts& front = at(fx, fy);
        return front.rise == 2 && front.top >= level + by;
    };
    for (const auto& [dx, dy] : next_in_front)
        if (rises_over(dx, dy, 1)) return false;
    for (const auto& [dx, dy] : beyond_in_front)
        if (rises_over(dx, dy, 2)) return false;
    return true;
}
