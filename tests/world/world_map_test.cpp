#include "generators/world/world_cell_hash.hpp"
#include "generators/world/world_map.hpp"
#include "generators/world/world_palettes.hpp"
#include "world_test_worlds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

bool same_corner(const WorldCorner& a, const WorldCorner& b) { return a.terrain == b.terrain && a.level == b.level; }
bool same_object(const WorldObject& a, const WorldObject& b) {
    return a.kind == b.kind && a.x == b.x && a.y == b.y && a.at_x == b.at_x && a.at_y == b.at_y && a.level == b.level &&
           a.look == b.look;
}

// Every chunk holds exactly the whole world's values on its cells, and the
// objects of a grid of chunks are the whole world's.
TEST(WorldMap, ChunksHoldTheWholeWorldsCells) {
    const WorldRequest request = test_world(5, 3, 176);
    const WorldMap whole = whole_world(request);
    const int chunk = 16;
    std::vector<WorldObject> gathered;
    for (int y0 = 0; y0 < request.height; y0 += chunk)
        for (int x0 = 0; x0 < request.width; x0 += chunk) {
            const int w = std::min(chunk, request.width - x0), h = std::min(chunk, request.height - y0);
            const WorldMap part = build_world_map(request, x0, y0, w, h);
            ASSERT_EQ(part.x0, x0);
            for (int cy = 0; cy <= h; ++cy)
                for (int cx = 0; cx <= w; ++cx)
                    ASSERT_TRUE(same_corner(part.corner(cx, cy), whole.corner(x0 + cx, y0 + cy)))
                        << "corner " << x0 + cx << "," << y0 + cy;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    ASSERT_EQ(part.rise(x, y), whole.rise(x0 + x, y0 + y)) << x0 + x << "," << y0 + y;
                    ASSERT_EQ(part.variant(x, y), whole.variant(x0 + x, y0 + y));
                }
            gathered.insert(gathered.end(), part.objects.begin(), part.objects.end());
        }
    auto row_order = [](const WorldObject& a, const WorldObject& b) {
        return std::pair(a.y, a.x) < std::pair(b.y, b.x);
    };
    // Chunks list their cells' objects in row order, as the whole world does.
    std::stable_sort(gathered.begin(), gathered.end(), row_order);
    ASSERT_TRUE(std::is_sorted(whole.objects.begin(), whole.objects.end(), row_order));
    ASSERT_EQ(gathered.size(), whole.objects.size());
    for (std::size_t i = 0; i < gathered.size(); ++i) EXPECT_TRUE(same_object(gathered[i], whole.objects[i]));
}

// Neighbouring corners, diagonals too, differ by at most one level; water
// lies on level 0; no level exceeds the request's, and a flat world is flat.
// A patch reaches past the world's edge, so places left of and above it are
// hashed too: each coordinate keeps its low 32 bits, as worlds were made.
TEST(WorldMap, CellHashKeepsEachCoordinatesLow32Bits) {
    EXPECT_EQ(world_cell_hash(7, -1, -2), world_cell_hash(7, 0xffffffffLL, 0xfffffffeLL));
    EXPECT_EQ(world_cell_hash(7, 3, -2), mix_hash(7 ^ mix_hash(3 | 0xfffffffeULL << 32)));
}

TEST(WorldMap, LevelsStepByOneAndWaterLiesLow) {
    for (const int levels : {0, 1, 2, 3, 6}) {
        const WorldMap map = whole_world(test_world(11 + levels, levels));
        int top = 0;
        for (int cy = 0; cy <= map.height; ++cy)
            for (int cx = 0; cx <= map.width; ++cx) {
                const WorldCorner& c = map.corner(cx, cy);
                top = std::max<int>(top, c.level);
                if (is_water(c.terrain)) {
                    ASSERT_EQ(c.level, 0);
                }
                for (int dy = 0; dy <= 1 && cy + dy <= map.height; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dy > 0 || dx > 0) && cx + dx >= 0 && cx + dx <= map.width) {
                            ASSERT_LE(std::abs(c.level - map.corner(cx + dx, cy + dy).level), 1)
                                << "levels " << levels << " at " << cx << "," << cy;
                        }
            }
        EXPECT_LE(top, levels);
        if (levels >= 2) {
            EXPECT_EQ(top, levels) << "the top level is never reached";
        }
        if (levels == 0) {
            EXPECT_EQ(std::count(map.rises.begin(), map.rises.end(), 0), map.width * map.height);
        }
    }
}

// A rising cell's corners are land and keep the terrains the ground rises
// through; a slope never meets a cliff across an edge that rises (their
// tiles could not continue each other).
TEST(WorldMap, RisingCellsKeepTheirLandAndSlopesNeverMeetCliffs) {
    std::set<WorldTerrain> risen;
    for (const int levels : {1, 2, 3, 5}) {
        const WorldMap map = whole_world(test_world(3 + levels, levels));
        int counts[3] = {0, 0, 0};
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                const int rise = map.rise(x, y);
                ++counts[rise];
                const WorldCorner* corners[4] = {&map.corner(x, y), &map.corner(x + 1, y), &map.corner(x + 1, y + 1),
                                                 &map.corner(x, y + 1)};
                int low = 99, high = -1;
                for (const WorldCorner* c : corners)
                    low = std::min<int>(low, c->level), high = std::max<int>(high, c->level);
                ASSERT_EQ(rise != 0, low != high) << x << "," << y;
                if (rise == 0) continue;
                for (const WorldCorner* c : corners) {
                    ASSERT_FALSE(is_water(c->terrain));
                    risen.insert(c->terrain);
                }
                // The edges to the right (top-right corner pair) and below (right-bottom pair).
                if (x + 1 < map.width && map.rise(x + 1, y) != 0 && corners[1]->level != corners[2]->level) {
                    ASSERT_EQ(map.rise(x + 1, y), rise) << x << "," << y;
                }
                if (y + 1 < map.height && map.rise(x, y + 1) != 0 && corners[3]->level != corners[2]->level) {
                    ASSERT_EQ(map.rise(x, y + 1), rise) << x << "," << y;
                }
            }
        EXPECT_GT(counts[1], 0) << "levels " << levels;
        if (levels >= 2) {
            EXPECT_GT(counts[2], 0) << "levels " << levels;
        }
    }
    for (const WorldTerrain t : {WorldTerrain::meadow, WorldTerrain::grass, WorldTerrain::forest, WorldTerrain::rock})
        EXPECT_TRUE(risen.count(t)) << world_terrain_name(t) << ": hills rise through every land";
}

// A cliff level's outline holds no lone corner: none stands above all eight
// neighbours (a stub of face on a plateau) or below them (a pit's lone wall).
TEST(WorldMap, CliffLevelsHaveNoLoneCorners) {
    for (const int levels : {3, 6, 8}) {
        const WorldMap map = whole_world(test_world(40 + levels, levels));
        const int first_cliff = std::max(1, levels / 2);
        int cliffs = 0;
        for (int y = 1; y < map.height; ++y)
            for (int x = 1; x < map.width; ++x) {
                const int here = map.corner(x, y).level;
                int above = 0, below = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (dx != 0 || dy != 0) {
                            above += map.corner(x + dx, y + dy).level > here;
                            below += map.corner(x + dx, y + dy).level < here;
                        }
                cliffs += here > first_cliff;
                EXPECT_FALSE(here > first_cliff && below == 8)
                    << "a stub at " << x << "," << y << ", levels " << levels;
                EXPECT_FALSE(here >= first_cliff && above == 8)
                    << "a pit at " << x << "," << y << ", levels " << levels;
            }
        EXPECT_GT(cliffs, 0) << "levels " << levels;
    }
}

// Terrains follow the thresholds and variants cover their range.
TEST(WorldMap, ThresholdsPickTerrainsAndVariantsSpanTheirRange) {
    WorldRequest request = test_world(9);
    request.variants = 3;
    WorldMap map = whole_world(request);
    std::set<int> terrains, variants(map.variants.begin(), map.variants.end());
    for (const WorldCorner& c : map.corners) terrains.insert(static_cast<int>(c.terrain));
    EXPECT_GE(terrains.size(), 7u);
    EXPECT_EQ(variants, (std::set<int>{0, 1, 2}));

    request.thresholds.deep_water = request.thresholds.water = request.thresholds.shore = 1.01;
    map = whole_world(request);
    for (const WorldCorner& c : map.corners) ASSERT_EQ(c.terrain, WorldTerrain::deep_water);
    EXPECT_TRUE(map.objects.empty());
}

TEST(WorldMap, PalettesGiveEveryTerrainItsOwnTexture) {
    ASSERT_GE(world_palettes().size(), 3u);
    EXPECT_EQ(world_palette_named(""), &world_palettes().front());
    EXPECT_EQ(world_palette_named("no such palette"), nullptr);
    for (const WorldPalette& palette : world_palettes()) {
        EXPECT_EQ(world_palette_named(palette.name), &palette);
        for (int i = 0; i < world_terrain_count; ++i) {
            const TransitionTerrain t = palette.textures[i];
            EXPECT_TRUE(t.cell >= 0 && t.cell < (t.kind == TerrainKind::water ? 10 : 20)) << palette.name;
            EXPECT_EQ(t.kind == TerrainKind::water, is_water(static_cast<WorldTerrain>(i))) << palette.name << " " << i;
            for (int j = 0; j < i; ++j) EXPECT_FALSE(palette.textures[j] == t) << palette.name << " " << i;
        }
        EXPECT_NE(palette.cliff_face.kind, TerrainKind::water);
        EXPECT_FALSE(palette.cliff_face == palette.textures[static_cast<int>(WorldTerrain::rock)]) << palette.name;
    }
}

}  // namespace
