#include "generators/world/world_map.hpp"
#include "world_test_worlds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

int top_level(const WorldMap& map, int x, int y) {
    return std::max({map.corner(x, y).level, map.corner(x + 1, y).level, map.corner(x + 1, y + 1).level,
                     map.corner(x, y + 1).level});
}

// Water at a corner, or a river through a cell the corner is on.
bool wet(const WorldMap& map, int cx, int cy) {
    if (is_water(map.corner(cx, cy).terrain)) return true;
    for (int y = std::max(0, cy - 1); y <= std::min(map.height - 1, cy); ++y)
        for (int x = std::max(0, cx - 1); x <= std::min(map.width - 1, cx); ++x)
            if (map.channel(x, y)) return true;
    return false;
}

bool water_within(const WorldMap& map, int x, int y, int reach) {
    for (int cy = std::max(0, y - reach); cy <= std::min(map.height, y + 1 + reach); ++cy)
        for (int cx = std::max(0, x - reach); cx <= std::min(map.width, x + 1 + reach); ++cx)
            if (wet(map, cx, cy)) return true;
    return false;
}

// Objects stand one to a flat dry cell, off rivers, with nothing higher in
// front of them; houses on grass or meadow near water (a river's too),
// apart from each other.
TEST(WorldObjects, ObjectsKeepTheirGroundAndTheirDistance) {
    for (const std::uint64_t seed : {2u, 7u}) {
        const WorldMap map = whole_world(test_world(seed));
        std::set<std::pair<int, int>> taken;
        std::vector<const WorldObject*> houses;
        int kinds[4] = {0, 0, 0, 0};
        for (const WorldObject& o : map.objects) {
            const int x = o.x, y = o.y;
            ++kinds[static_cast<int>(o.kind)];
            ASSERT_TRUE(taken.insert({x, y}).second) << "two objects on " << x << "," << y;
            ASSERT_EQ(map.rise(x, y), 0) << x << "," << y;
            ASSERT_EQ(map.channel(x, y), 0) << "on a river at " << x << "," << y;
            ASSERT_EQ(o.level, map.corner(x, y).level);
            ASSERT_TRUE(o.look >= 0 && o.look < world_object_looks(o.kind));
            for (int cy = y; cy <= y + 1; ++cy)
                for (int cx = x; cx <= x + 1; ++cx) ASSERT_FALSE(is_water(map.corner(cx, cy).terrain));
            for (const auto& [dx, dy] : {std::pair{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}, {2, 2}, {2, 0}, {0, 2}})
                if (x + dx < map.width && y + dy < map.height) {
                    ASSERT_LE(top_level(map, x + dx, y + dy), o.level) << "higher ground in front of " << x << "," << y;
                }
            if (o.kind != WorldObjectKind::house) continue;
            for (int cy = y; cy <= y + 1; ++cy)
                for (int cx = x; cx <= x + 1; ++cx) {
                    const WorldTerrain t = map.corner(cx, cy).terrain;
                    ASSERT_TRUE(t == WorldTerrain::grass || t == WorldTerrain::meadow);
                }
            ASSERT_TRUE(water_within(map, x, y, 4)) << "a house far from water at " << x << "," << y;
            for (const WorldObject* other : houses)
                ASSERT_GT(std::max(std::abs(other->x - x), std::abs(other->y - y)), 7) << x << "," << y;
            houses.push_back(&o);
        }
        for (const int count : kinds) EXPECT_GT(count, 0) << "seed " << seed;
        // Trees stand thick in forest and scattered on grass.
        int cells[2] = {0, 0}, trees[2] = {0, 0};
        std::set<std::pair<int, int>> tree_cells;
        for (const WorldObject& o : map.objects)
            if (o.kind == WorldObjectKind::tree) tree_cells.insert({o.x, o.y});
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                int forest = 0, grass = 0;
                for (int cy = y; cy <= y + 1; ++cy)
                    for (int cx = x; cx <= x + 1; ++cx) {
                        forest += map.corner(cx, cy).terrain == WorldTerrain::forest;
                        grass += map.corner(cx, cy).terrain == WorldTerrain::grass;
                    }
                if (forest < 4 && grass < 4) continue;
                ++cells[forest == 4];
                trees[forest == 4] += tree_cells.count({x, y}) > 0;
            }
        EXPECT_GT(trees[1] * 3, cells[1]) << "seed " << seed;
        EXPECT_GT(trees[1] * cells[0], 4 * trees[0] * cells[1]) << "seed " << seed;
    }
}

}  // namespace
