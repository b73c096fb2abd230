#include "generators/world/world_foot.hpp"
#include "generators/world/world_layout.hpp"
#include "generators/world/world_looks.hpp"
#include "generators/world/world_map.hpp"
#include "generators/world/world_mountains.hpp"
#include "world_test_worlds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

int top_level(const WorldMap& map, int x, int y) {
    return std::max({map.corner(x, y).level, map.corner(x + 1, y).level, map.corner(x + 1, y + 1).level,
                     map.corner(x, y + 1).level});
}
int low_level(const WorldMap& map, int x, int y) {
    return std::min({map.corner(x, y).level, map.corner(x + 1, y).level, map.corner(x + 1, y + 1).level,
                     map.corner(x, y + 1).level});
}
bool dry(const WorldMap& map, int x, int y) {
    for (int cy = y; cy <= y + 1; ++cy)
        for (int cx = x; cx <= x + 1; ++cx)
            if (is_water(map.corner(cx, cy).terrain)) return false;
    return true;
}

bool water_within(const WorldMap& map, int x, int y, int reach) {
    for (int cy = std::max(0, y - reach); cy <= std::min(map.height, y + 1 + reach); ++cy)
        for (int cx = std::max(0, x - reach); cx <= std::min(map.width, x + 1 + reach); ++cx)
            if (is_water(map.corner(cx, cy).terrain)) return true;
    return false;
}

// No cliff next in front of the cell rises above `level`, nor one a row
// beyond by two levels.
bool no_cliff_above(const WorldMap& map, int x, int y, int level) {
    const auto rises_over = [&](int dx, int dy, int by) {
        return x + dx < map.width && y + dy < map.height && map.rise(x + dx, y + dy) == 2 &&
               top_level(map, x + dx, y + dy) >= level + by;
    };
    return !rises_over(1, 0, 1) && !rises_over(0, 1, 1) && !rises_over(1, 1, 1) && !rises_over(2, 1, 2) &&
           !rises_over(1, 2, 2) && !rises_over(2, 2, 2);
}

// Objects stand dry, off cliffs, with no cliff in front of them rising
// over their foot, inside their cell; houses on flat grass or meadow near
// water, apart from each other; mountains on rock or snow with their
// footprint clear, on the highest ground their slices stand on. Trees stand on slopes too, thick in forests and thin
// outside them.
TEST(WorldObjects, ObjectsKeepTheirGroundAndTheirDistance) {
    for (const std::uint64_t seed : {2u, 7u}) {
        const WorldMap map = whole_world(test_world(seed));
        std::vector<const WorldObject*> houses, mountains;
        std::map<WorldObjectKind, int> kinds;
        std::set<std::pair<int, int>> at_points;
        int on_slopes = 0;
        for (const WorldObject& o : map.objects) {
            const int x = o.x, y = o.y;
            ++kinds[o.kind];
            at_points.insert({o.at_x, o.at_y});
            ASSERT_TRUE(dry(map, x, y)) << x << "," << y;
            // Only a mountain stands on a cliff: a crag on one that falls
            // towards the viewer, a mountain's slices above the cells they stand in.
            const bool crag = o.kind == WorldObjectKind::mountain && o.slice < 0;
            const bool slice = o.kind == WorldObjectKind::mountain && o.slice >= 0;
            if (map.rise(x, y) == 2 && !slice) {
                ASSERT_TRUE(crag) << world_object_name(o.kind) << " on a cliff at " << x << "," << y;
                ASSERT_EQ(map.corner(x + 1, y + 1).level, o.level)
                    << "a crag behind its cliff's face at " << x << "," << y;
            }
            if (slice) {
                ASSERT_GE(o.level, top_level(map, x, y)) << "a mountain sunk into its ground at " << x << "," << y;
            } else {
                ASSERT_EQ(o.level, low_level(map, x, y));
            }
            ASSERT_TRUE(o.look >= 0 && o.look < world_object_looks(o.kind));
            if (o.kind != WorldObjectKind::mountain) {
                ASSERT_TRUE(o.at_x > 0 && o.at_x < 256 && o.at_y > 0 && o.at_y < 256) << x << "," << y;
            }
            ASSERT_TRUE(no_cliff_above(map, x, y, std::max(o.level, top_level(map, x, y))))
                << "a cliff in front of " << x << "," << y;
            on_slopes += map.rise(x, y) == 1;
            if (crag) {
                ASSERT_EQ(std::pair(o.at_x, o.at_y), std::pair(std::int16_t{128}, std::int16_t{128}));
                mountains.push_back(&o);
                continue;
            }
            if (o.kind == WorldObjectKind::mountain) {
                // A slice stands in its cell; the mountain's foot in the middle of its footprint.
                ASSERT_TRUE(o.slice >= 0 && o.slice < static_cast<int>(world_mountain_slices.size()));
                const MountainSlice& s = world_mountain_slices[static_cast<std::size_t>(o.slice)];
                const int foot = s.small ? 0 : 128;
                ASSERT_EQ(o.at_x, foot - 256 * s.dx);
                ASSERT_EQ(o.at_y, foot - 256 * s.dy);
                if (o.slice != 0 && o.slice != 6) continue;
                const int x = o.x - s.dx, y = o.y - s.dy;
                int high = 0;
                for (int cy = y; cy <= y + 1; ++cy)
                    for (int cx = x; cx <= x + 1; ++cx) high += map.corner(cx, cy).terrain >= WorldTerrain::rock;
                ASSERT_GE(high, 3) << "a mountain off the rock at " << x << "," << y;
                mountains.push_back(&o);
            }
            if (o.kind != WorldObjectKind::house) continue;
            ASSERT_EQ(map.rise(x, y), 0);
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
        for (const WorldObjectKind kind : {WorldObjectKind::tree, WorldObjectKind::house, WorldObjectKind::boulder,
                                           WorldObjectKind::bush, WorldObjectKind::mountain})
            EXPECT_GT(kinds[kind], 0) << world_object_name(kind) << ", seed " << seed;
        EXPECT_GT(on_slopes, 0) << "seed " << seed;
        EXPECT_GT(at_points.size(), 100u) << "objects stand all over their cells";
        // Nothing but mountains stands in a mountain's footprint.
        for (const WorldObject* m : mountains) {
            int x = m->x, y = m->y, back = 0, reach = 0;  // a crag's is its cell
            if (m->slice >= 0) {
                const MountainSlice& s = world_mountain_slices[static_cast<std::size_t>(m->slice)];
                x = m->x - s.dx, y = m->y - s.dy, back = 1, reach = s.small ? 0 : 1;
            }
            for (const WorldObject& o : map.objects)
                if (o.kind != WorldObjectKind::mountain && o.x >= x - back && o.y >= y - back && o.x <= x + reach &&
                    o.y <= y + reach) {
                    ADD_FAILURE() << world_object_name(o.kind) << " in the mountain at " << x << "," << y;
                    break;
                }
        }
    }
}

// Forests stand thick, several trees to a cell and more inside than at the
// edge; conifers stand higher than broadleaf trees; and rising levels keep
// the trees (slopes carry them).
TEST(WorldObjects, ForestsAreThickAndKeepTheirTreesOnHills) {
    const auto trees_of = [](const WorldMap& map) {
        int trees = 0, forest_cells = 0;
        double conifer_level = 0, broadleaf_level = 0;
        int conifers = 0, broadleaves = 0;
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                int forest = 0;
                for (int cy = y; cy <= y + 1; ++cy)
                    for (int cx = x; cx <= x + 1; ++cx) forest += map.corner(cx, cy).terrain == WorldTerrain::forest;
                forest_cells += forest == 4;
            }
        for (const WorldObject& o : map.objects) {
            if (o.kind != WorldObjectKind::tree) continue;
            ++trees;
            const bool conifer =
                world_looks(o.kind)[static_cast<std::size_t>(o.look)].variety == WorldLookVariety::conifer;
            (conifer ? conifer_level : broadleaf_level) += o.level;
            ++(conifer ? conifers : broadleaves);
        }
        return std::tuple{trees, forest_cells, conifers ? conifer_level / conifers : 0.0,
                          broadleaves ? broadleaf_level / broadleaves : 0.0};
    };
    const WorldMap flat = whole_world(test_world(4, 0, 64));
    const auto [flat_trees, flat_forest, c0, b0] = trees_of(flat);
    ASSERT_GT(flat_forest, 0);
    EXPECT_GT(flat_trees, 2 * flat_forest) << "trees to a forest cell";
    // Trees a cell, of cells at the forest's edge (two or three corners
    // forest, the rest dry land) and of those deep in it (every corner
    // around them forest).
    std::map<std::pair<int, int>, int> per_cell;
    for (const WorldObject& o : flat.objects) per_cell[{o.x, o.y}] += o.kind == WorldObjectKind::tree;
    double trees[2] = {0, 0}, cells[2] = {0, 0};
    for (int y = 1; y + 1 < flat.height; ++y)
        for (int x = 1; x + 1 < flat.width; ++x) {
            int forest = 0, around = 0;
            for (int cy = y - 1; cy <= y + 2; ++cy)
                for (int cx = x - 1; cx <= x + 2; ++cx) {
                    const bool f = flat.corner(cx, cy).terrain == WorldTerrain::forest;
                    around += f;
                    forest += f && cx >= x && cx <= x + 1 && cy >= y && cy <= y + 1;
                }
            const bool edge = (forest == 2 || forest == 3) && dry(flat, x, y), inside = around == 16;
            if (!edge && !inside) continue;
            trees[inside] += per_cell[{x, y}], ++cells[inside];
        }
    ASSERT_GT(cells[0] * cells[1], 0);
    EXPECT_GT(trees[1] / cells[1], 1.2 * trees[0] / cells[0]) << "forests thin towards their edge";
    for (const int levels : {2, 4, 8}) {
        const auto [trees, forest, conifer_level, broadleaf_level] = trees_of(whole_world(test_world(4, levels, 64)));
        EXPECT_GT(3 * trees, 2 * flat_trees) << "levels " << levels << ": " << trees << " trees, flat " << flat_trees;
        EXPECT_GT(conifer_level, broadleaf_level) << "levels " << levels;
    }
}

// A foot stands where the object stands in its cell, on the ground's
// height there: near each corner of a slope at about that corner's rise.
// A sprite too wide for where it stands is drawn in until it keeps inside
// its cell's column and behind its front edges.
TEST(WorldObjects, FeetStandOnTheGroundUnderThemAndKeepTheirSpritesInTheirCell) {
    WorldMap map;
    map.width = map.height = 1;
    map.levels = 4;  // levels 1 to 2 rise by a slope
    map.rises = {1};
    int exact = 0;
    for (const int mask : {1, 2, 4, 8, 3, 5, 7, 14}) {
        map.corners.clear();
        // Corners top, right, left, bottom in row order: (0,0), (1,0), (0,1), (1,1).
        for (const int bit : {1, 2, 8, 4})
            map.corners.push_back({WorldTerrain::grass, static_cast<std::uint8_t>(1 + ((mask & bit) != 0))});
        const int near_corner[4][3] = {{40, 40, 1}, {216, 40, 2}, {216, 216, 4}, {40, 216, 8}};
        for (const auto& [u, v, bit] : near_corner) {
            WorldObject o;
            o.at_x = static_cast<std::int16_t>(u), o.at_y = static_cast<std::int16_t>(v);
            const WorldFoot foot = world_foot(map, o, 64, {});
            // Feet near a high front corner are drawn in: their own height holds.
            const int step = world_level_rise(1, map.levels, 64);
            const double x = 0.5 + (foot.across / 32.0 + foot.down / 16.0) / 2;
            const double y = 0.5 + (foot.down / 16.0 - foot.across / 32.0) / 2;
            if (std::abs(x - u / 256.0) + std::abs(y - v / 256.0) > 0.02) {
                EXPECT_GE(foot.rise, step) << "mask " << mask << " corner " << bit;
                EXPECT_LE(foot.rise, 2 * step);
                continue;
            }
            EXPECT_NEAR(foot.rise, world_level_rise((mask & bit) ? 2 : 1, map.levels, 64), 3)
                << "mask " << mask << " corner " << bit;
            ++exact;
        }
    }
    EXPECT_GE(exact, 16);
    map.corners.assign(4, {WorldTerrain::grass, 0});
    map.rises = {0};
    WorldObject o;
    o.at_x = 64, o.at_y = 192;  // a quarter along x, three along y: left of the middle
    WorldFoot foot = world_foot(map, o, 64, {});
    EXPECT_EQ(std::pair(foot.across, foot.down), std::pair(-16, 0));
    EXPECT_EQ(foot.rise, 0);
    const SpriteReach wide{20, 12, 0.1, 0.2};
    o.at_x = o.at_y = 230;
    foot = world_foot(map, o, 64, wide);
    EXPECT_GE(foot.across - wide.left, -31);
    EXPECT_LE(foot.across + wide.right, 32);
    EXPECT_LE((foot.across / 32.0 + foot.down / 16.0) / 2 + wide.along_x, 0.5 - world_front_margin(64));
    EXPECT_LE((foot.down / 16.0 - foot.across / 32.0) / 2 + wide.along_y, 0.5 - world_front_margin(64));
    EXPECT_GT(foot.down, 0) << "drawn in only as far as it needs";
}

}  // namespace
