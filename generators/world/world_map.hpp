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
    int door = 0;    // a house's in a settlement: the edge bit its door and its road lie across
};

// A river, in world cells from its source to its mouth: the sea's or a
// lake's cell its water runs into, or for a tributary the cell of the river
// it joins. A river that leaves a lake starts on the lake's cell.
struct WorldRiver {
    std::vector<std::array<int, 2>> cells;
    bool into_lake = false;  // where its water (a tributary's, by the river it joins) ends
    int joins = -1;          // the river a tributary joins; -1 for one that reaches the sea or a lake
};

// A lake: water lying on one level, in a hollow of the land. Its cells are
// every cell with a corner of its water, in row order.
struct WorldLake {
    int level = 0;
    std::vector<std::array<int, 2>> cells;
};

// A settlement: its centre cell and its houses' cells (each a house object
// where the map holds the cell), in the order they were laid out.
struct WorldSettlement {
    std::array<int, 2> centre{};
    std::vector<std::array<int, 2>> houses;
};

// A road, in world cells from one end to the other: a settlement's street
// down to its water, or the way from one settlement to the network of
// others on its island. Roads share the cells where they meet; a bridge is
// a cell where a road crosses a river.
struct WorldRoad {
    std::vector<std::array<int, 2>> cells;
    std::vector<std::array<int, 2>> bridges;
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
    // width x height, row by row: 0, or the packed RiverChannel
    // (generators/common/river_channel.hpp) of the river through the cell.
    std::vector<std::uint16_t> channels;
    // The whole world's rivers and lakes, whatever the rectangle: they are
    // found on the whole world, so every chunk agrees on them.
    std::vector<WorldRiver> rivers;
    std::vector<WorldLake> lakes;
    // width x height, row by row: 0, or the packed RoadTrack
    // (generators/common/road_track.hpp) of the road through the cell.
    std::vector<std::uint8_t> tracks;
    // The whole world's settlements and roads, as its rivers.
    std::vector<WorldSettlement> settlements;
    std::vector<WorldRoad> roads;
    const WorldCorner& corner(int cx, int cy) const { return corners[cy * (width + 1) + cx]; }
    int variant(int x, int y) const { return variants[y * width + x]; }
    int rise(int x, int y) const { return rises[y * width + x]; }
    int channel(int x, int y) const { return channels[y * width + x]; }
    int track(int x, int y) const { return tracks[y * width + x]; }
};

WorldMap build_world_map(const WorldRequest& request, int x0, int y0, int width, int height);
