#include "generators/world/world_layout.hpp"
#include "world_test_worlds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace {

// Read back from the layers, every cell shows at each corner the terrain the
// map gives it: the highest terrain whose tile covers that corner (a fill
// covers all four, an "over" tile the corners of its mask, a slope or cliff
// the corners of its ground). Cells sharing a corner thus agree on it, and
// a rising cell stacks its terrains as a flat one does.
TEST(WorldLayout, LayersShowEveryCornersTerrain) {
    for (const int levels : {0, 3}) {
        const WorldMap map = whole_world(test_world(21, levels));
        const WorldLayout layout = lay_out_world(map);
        ASSERT_TRUE(std::is_sorted(layout.tiles.begin(), layout.tiles.end()));
        ASSERT_TRUE(std::adjacent_find(layout.tiles.begin(), layout.tiles.end()) == layout.tiles.end());
        const int cells = map.width * map.height;
        // Per cell and corner (top, right, bottom, left): the terrain shown, -1 for none.
        std::vector<std::array<int, 4>> shown(cells, {-1, -1, -1, -1});
        std::vector<int> bases(cells, 0), cell_level(cells, -1);
        std::set<int> used;
        int previous_level = 0;
        std::set<std::string> names;
        for (const WorldLayer& layer : layout.layers) {
            ASSERT_EQ(static_cast<int>(layer.cells.size()), cells);
            ASSERT_GE(layer.level, previous_level) << layer.name;
            previous_level = layer.level;
            ASSERT_TRUE(names.insert(layer.name).second) << layer.name;
            ASSERT_EQ(layer.name.rfind("level" + std::to_string(layer.level) + "_", 0), 0u) << layer.name;
            bool empty = true;
            for (int i = 0; i < cells; ++i) {
                if (layer.cells[i] < 0) continue;
                empty = false;
                ASSERT_LT(layer.cells[i], static_cast<int>(layout.tiles.size()));
                used.insert(layer.cells[i]);
                const WorldTileKey& key = layout.tiles[layer.cells[i]];
                const int x = i % map.width, y = i / map.width;
                ASSERT_EQ(key.variant, map.variant(x, y));
                if (cell_level[i] >= 0) {
                    ASSERT_EQ(cell_level[i], layer.level) << "a cell on two levels";
                }
                cell_level[i] = layer.level;
                const int terrain = static_cast<int>(key.terrain);
                const bool rising = key.kind == WorldTileKey::Kind::slope || key.kind == WorldTileKey::Kind::cliff;
                const int covered = key.kind == WorldTileKey::Kind::fill   ? 15
                                    : key.kind == WorldTileKey::Kind::over ? key.mask
                                                                           : key.ground;
                for (int k = 0; k < 4; ++k)
                    if ((covered >> k & 1) && terrain > shown[i][k]) shown[i][k] = terrain;
                if (covered == 15) ++bases[i];
                ASSERT_EQ(layer.name, "level" + std::to_string(layer.level) + "_" + world_terrain_name(key.terrain));
                ASSERT_EQ(map.rise(x, y) != 0, rising) << x << "," << y;
                if (rising) {
                    ASSERT_EQ(map.rise(x, y), key.kind == WorldTileKey::Kind::slope ? 1 : 2);
                    const WorldCorner* corners[4] = {&map.corner(x, y), &map.corner(x + 1, y),
                                                     &map.corner(x + 1, y + 1), &map.corner(x, y + 1)};
                    for (int k = 0; k < 4; ++k)
                        ASSERT_EQ(key.mask >> k & 1, corners[k]->level > layer.level ? 1 : 0) << x << "," << y;
                }
            }
            ASSERT_FALSE(empty) << layer.name << " is empty";
        }
        EXPECT_EQ(static_cast<int>(used.size()), static_cast<int>(layout.tiles.size())) << "tiles no layer places";
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                const int i = y * map.width + x;
                ASSERT_EQ(bases[i], 1) << "one fill, slope or cliff under cell " << x << "," << y;
                const WorldCorner* corners[4] = {&map.corner(x, y), &map.corner(x + 1, y), &map.corner(x + 1, y + 1),
                                                 &map.corner(x, y + 1)};
                for (int k = 0; k < 4; ++k) {
                    ASSERT_EQ(shown[i][k], static_cast<int>(corners[k]->terrain)) << x << "," << y << " corner " << k;
                    ASSERT_EQ(cell_level[i],
                              std::min({corners[0]->level, corners[1]->level, corners[2]->level, corners[3]->level}));
                }
            }
    }
}

}  // namespace
