#pragma once
#include "generators/world/world_map.hpp"

#include <compare>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// How a world map becomes tile layers: one layer a terrain and level.
//
// Terrains are stacked: terrain k's layer holds, for every cell whose
// lowest corner terrain is k, the fill tile of k, and for every cell whose
// lowest corner is below k and some corner is k or above, the tile of the
// set "k over k - 1" whose corners are those at k or above: it paints only
// that side and its edge (foam, shallows) as partial alpha over what lies
// below. N terrains thus need N fill sets and N - 1 over sets.
//
// Levels: a cell whose four corners lie on one level L goes on level L's
// layers; a cell whose corners differ is stacked there the same way, L its
// lowest corner, of slope (rising gently) or cliff (rising fast) tiles
// whose mask is its corners above L: its lowest terrain's tile shows that
// terrain on its whole surface (a cliff's face with it), and each terrain
// above is laid over it on its corners, as flat over tiles are. Level L's
// layers are moved up by world_level_rise(L).

//
// Rivers: a cell a river runs through holds a river tile on level L's river
// layer, after its slopes: over a flat cell the channel laid over the
// cell's terrains (the mask its land corners), and on a rising cell, in
// place of its slope or cliff, rapids or a fall (the mask its high corners).
//
// Roads: a cell a road runs through holds a road tile on level L's road
// layer, after its rivers: the track laid over the cell's ground, on a
// slope over its surface, over a river a bridge.

struct WorldTileKey {
    enum class Kind : std::uint8_t { fill, over, slope, cliff, river, rapids, fall, road };
    Kind kind = Kind::fill;
    // fill: it; over: the upper one; slope, cliff: the ground, or the one
    // laid over the terrain below; rapids, fall: the ground; river: water.
    WorldTerrain terrain = WorldTerrain::deep_water;
    // over: corners of the terrain; slope, cliff, rapids, fall: the high
    // corners; river: its land corners (bits as transition_set.hpp); road:
    // its high corners on a slope, else 0
    std::uint8_t mask = 0;
    std::uint8_t variant = 0;
    // Slopes and cliffs: the corners of the terrain, 15 on the tile at the
    // bottom of the cell's stack; fewer on one laid over the terrain below.
    std::uint8_t ground = 15;
    std::uint16_t channel = 0;  // river, rapids, fall: the packed channel; road: the packed RoadTrack
    auto operator<=>(const WorldTileKey&) const = default;
};

struct WorldLayer {
    std::string name;  // "level0_grass", "level1_rock", "level1_rivers"
    int level = 0;
    // width x height of the map, row by row: an index into WorldLayout::tiles, -1 for none.
    std::vector<int> cells;
};

struct WorldLayout {
    std::vector<WorldTileKey> tiles;  // every tile placed, sorted, each once
    std::vector<WorldLayer> layers;   // in drawing order; layers left empty are dropped
};

WorldLayout lay_out_world(const WorldMap& map);

// Adds to a layout a layer "level<L>_<name>" for each level L that `placed`
// holds cells of (by level: each cell, row by row over `cells`, and its
// key), right after that level's layers so far; the keys' tiles go after
// all the others, in key order.
void add_world_overlay(WorldLayout& layout, const std::vector<std::vector<std::pair<int, WorldTileKey>>>& placed,
                       const std::string& name, std::size_t cells);

// How many pixels a rise of the world climbs at a tile width: a slope a
// gentle step, a cliff half the diamond's height, so that a plateau stands
// up from the ground around it.
int world_rise_step(WorldTileKey::Kind rise, int iso_width);
// How high level `level` of a world of `levels` stands above level 0 at a
// tile width, in pixels: its tile layers are drawn that far up, and so is
// what stands on it.
int world_level_rise(int level, int levels, int iso_width);
