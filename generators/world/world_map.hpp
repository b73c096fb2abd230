#pragma once

#include "generators/world/world_shape.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A world: a whole isometric map grown from one seed. Its fields live on the
// map's corners (a W x H map has (W + 1) x (H + 1) of them): a terrain and a
// level each. Every cell has a variant, and some carry an object. Nothing
// here draws; the world's tiles and files are made from this.

// The terrains of a world from the lowest to the highest. Terrains are drawn
// in this order, each over the ones below it.
enum class WorldTerrain : std::uint8_t { deep_water, water, shore, meadow, grass, forest, rock, snow };
inline constexpr int world_terrain_count = 8;
// "deep_water", ... as manifests and layer names say it.
const char* world_terrain_name(WorldTerrain terrain);
constexpr bool is_water(WorldTerrain terrain) { return terrain <= WorldTerrain::water; }

// What a world grows from: its shape, the run's seed and how many variants
// of each tile it picks from per cell.
struct WorldRequest : WorldShape {
    int variants = 4;
    std::uint64_t seed = 1;
};

struct WorldCorner {
    WorldTerrain terrain = WorldTerrain::deep_water;
    std::uint8_t level = 0;  // 0 for water; neighbouring corners differ by at most one
};

enum class WorldObjectKind : std::uint8_t { tree, house, boulder, bush, mountain };
const char* world_object_name(WorldObjectKind kind);  // "tree", ...

// An object standing in a cell, drawn as one of its kind's looks
// (world_looks.hpp). Several may share a cell. A mountain is wider than a
// cell: it stands as slices, each a column half a cell wide, each in the
// front cell of the mountain's footprint there (world_mountains.hpp).
struct WorldObject {
    WorldObjectKind kind = WorldObjectKind::tree;
    int x = 0, y = 0;  // the cell, in world cells
    int level = 0;     // the cell's lowest corner's; on a slope the foot stands higher
    // Where its foot stands, in 256ths of a cell along the map's x and y
    // axes from the cell's top corner: (128, 128) is the middle. A
    // mountain's slice has its mountain's foot, behind its own cell.
    std::int16_t at_x = 128, at_y = 128;
    int look = 0;    // which sprite of its kind, 0 .. world_object_looks(kind) - 1
    int slice = -1;  // a mountain's: which of world_mountain_slices()
};

// A rectangle of the world's cells: the whole world, or one chunk of it.
// Every value in it depends only on the seed, the request and the cell's
// place in the world, never on the rectangle: a chunk holds exactly what
// the same cells hold in the whole world.
struct WorldMap {
    int x0 = 0, y0 = 0;                  // its first cell, in world cells
    int width = 0, height = 0;           // cells
    int levels = 0;                      // the world's, which sets how high each level stands
    std::vector<WorldCorner> corners;    // (width + 1) x (height + 1), row by row
    std::vector<std::uint8_t> variants;  // width x height, row by row
    // width x height, row by row: 0 where the cell's corners lie on one
    // level, else how it rises: 1 a slope, 2 a cliff. A slope and a cliff
    // never share an edge that rises, and a rising cell keeps its corners'
    // (land) terrains. Rises from level L to L + 1 are slopes below L =
    // max(1, levels / 2), cliffs from there up.
    std::vector<std::uint8_t> rises;
    std::vector<WorldObject> objects;  // in row order of their cells
    const WorldCorner& corner(int cx, int cy) const { return corners[cy * (width + 1) + cx]; }
    int variant(int x, int y) const { return variants[y * width + x]; }
    int rise(int x, int y) const { return rises[y * width + x]; }
};

WorldMap build_world_map(const WorldRequest& request, int x0, int y0, int width, int height);
