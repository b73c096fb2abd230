// Hollows and lakes, by a priority flood from the sea over the corners: a
// corner's height is its level first and its elevation within the level,
// so a hollow is land below the lowest rim its water could leave by.
//
// Every corner of a hollow is raised to the level of that rim (the level
// field stays one-step: a corner next to the hollow lies on the rim's level
// or one above). Where the hollow is wide and deep enough its corners hold
// water, except those beside land above the rim, which stay its shore:
// a lake's water then has land on its own level all round, and no slope or
// cliff touches it.
#include "generators/world/world_lakes.hpp"

#include "generators/world/world_flood_queue.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
// A hollow holds a lake when it spans this many corners and its water
// would stand this deep (in elevation) over its lowest corner.
constexpr int lake_corners = 14;
constexpr double lake_depth = 0.015;
// Fewer water corners than this make a puddle, not a lake: left dry.
constexpr int least_lake_water = 6;

constexpr std::array<std::array<int, 2>, 8> around = {
    {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}};

struct Corners {
    int w, h;  // corners across and down
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
};

// Groups of marked corners joined corner to corner (diagonals too), each
// group's corners listed together.
template <class Marked, class Group>
void each_group(const Corners& g, Marked marked, Group group) {
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(g.w) * g.h, 0);
    std::vector<int> members, stack;
    for (int start = 0; start < g.w * g.h; ++start) {
        if (seen[start] || !marked(start)) continue;
        members.clear();
        stack.assign(1, start);
        seen[start] = 1;
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            members.push_back(at);
            for (const auto& [dx, dy] : around) {
                const int x = at % g.w + dx, y = at / g.w + dy;
                if (!g.inside(x, y)) continue;
                const int n = y * g.w + x;
                if (seen[n] || !marked(n)) continue;
                seen[n] = 1;
                stack.push_back(n);
            }
        }
        std::sort(members.begin(), members.end());
        group(members);
    }
}
}  // namespace

void fill_world_hollows(const WorldPatch& patch, int margin, WorldHydrology& out) {
    const Corners g{out.width + 1, out.height + 1};
    const auto count = static_cast<std::size_t>(g.w) * g.h;
    const auto at_patch = [&](int c) { return patch.at(c % g.w + margin, c / g.w + margin); };
    std::vector<float> key(count), fill(count);
    out.level.resize(count);
    out.lake.assign(count, WorldHydrology::dry);
    for (std::size_t c = 0; c < count; ++c) {
        const int p = at_patch(static_cast<int>(c));
        out.level[c] = patch.level[p];
        key[c] = fill[c] = static_cast<float>(2 * patch.level[p] + patch.elevation[p]);
    }

    // The flood starts from the sea and the world's rim, where water leaves.
    std::vector<std::uint8_t> closed(count, 0);
    FloodQueue queue(*std::max_element(key.begin(), key.end()));
    for (int c = 0; c < static_cast<int>(count); ++c) {
        const int x = c % g.w, y = c / g.w;
        if (is_water(patch.terrain[at_patch(c)]) || x == 0 || y == 0 || x == g.w - 1 || y == g.h - 1) {
            closed[c] = 1;
            queue.push(key[c], c);
        }
    }
    while (!queue.empty()) {
        const int at = queue.pop();
        for (const auto& [dx, dy] : around) {
            const int x = at % g.w + dx, y = at / g.w + dy;
            if (!g.inside(x, y)) continue;
            const int n = y * g.w + x;
            if (closed[n]) continue;
            closed[n] = 1;
            fill[n] = std::max(key[n], fill[at]);
            queue.push(fill[n], n);
        }
    }

    // Each hollow: raised to its rim's level, and a lake if it is large.
    std::vector<int> lake_of(count, -1);
    each_group(
        g, [&](int c) { return fill[c] > key[c]; },
        [&](const std::vector<int>& hollow) {
            const float rim = fill[hollow.front()];
            const int level = static_cast<int>(std::floor(rim / 2));
            float lowest = rim;
            for (const int c : hollow) {
                out.level[c] = static_cast<std::uint8_t>(level);
                lowest = std::min(lowest, key[c]);
            }
            if (static_cast<int>(hollow.size()) < lake_corners || rim - lowest < lake_depth) return;
            for (const int c : hollow) {
                bool beside_higher = false;
                for (const auto& [dx, dy] : around) {
                    const int x = c % g.w + dx, y = c / g.w + dy;
                    beside_higher |= g.inside(x, y) && out.level[y * g.w + x] > level;
                }
                if (!beside_higher) out.lake[c] = WorldHydrology::water;
            }
        });
    // The water of one hollow may part into pools; each large one is a lake.
    std::vector<std::vector<int>> lakes;
    each_group(
        g, [&](int c) { return out.lake[c] == WorldHydrology::water; },
        [&](const std::vector<int>& water) {
            if (static_cast<int>(water.size()) < least_lake_water) {
                for (const int c : water) out.lake[c] = WorldHydrology::dry;
                return;
            }
            for (const int c : water) lake_of[c] = static_cast<int>(lakes.size());
            lakes.push_back(water);
        });

    // Deep water two corners from any shore; sand on the land beside the
    // water, where the land is not rock or snow.
    for (std::size_t c = 0; c < count; ++c) {
        if (out.lake[c] != WorldHydrology::water) continue;
        bool open = true;
        for (int dy = -2; dy <= 2 && open; ++dy)
            for (int dx = -2; dx <= 2 && open; ++dx) {
                const int x = static_cast<int>(c) % g.w + dx, y = static_cast<int>(c) / g.w + dy;
                open = g.inside(x, y) && lake_of[y * g.w + x] >= 0;
            }
        if (open) out.lake[c] = WorldHydrology::deep;
    }
    for (int c = 0; c < static_cast<int>(count); ++c) {
        if (lake_of[c] >= 0) continue;
        const WorldTerrain t = patch.terrain[at_patch(c)];
        if (t < WorldTerrain::shore || t >= WorldTerrain::rock) continue;
        for (const auto& [dx, dy] : around) {
            const int x = c % g.w + dx, y = c / g.w + dy;
            if (g.inside(x, y) && lake_of[y * g.w + x] >= 0) out.lake[c] = WorldHydrology::bank;
        }
    }

    // Each lake's cells: those with a corner of its water.
    for (const std::vector<int>& water : lakes) {
        WorldLake lake;
        lake.level = out.level[water.front()];
        std::vector<int> cells;
        for (const int c : water) {
            const int x = c % g.w, y = c / g.w;
            for (int dy = -1; dy <= 0; ++dy)
                for (int dx = -1; dx <= 0; ++dx)
                    if (x + dx >= 0 && y + dy >= 0 && x + dx < out.width && y + dy < out.height)
                        cells.push_back((y + dy) * out.width + x + dx);
        }
        std::sort(cells.begin(), cells.end());
        cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
        for (const int cell : cells) lake.cells.push_back({cell % out.width, cell / out.width});
        out.lakes.push_back(std::move(lake));
    }
}
