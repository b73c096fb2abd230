#pragma once
#include "generators/world/world_map.hpp"

#include <compare>
#include <cstdint>
#include <string>
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
// terrain layers; a cell whose corners differ is a slope (rising gently)
// or cliff (rising fast) tile on level L's slope layer, L its lowest
// corner, the mask its corners above L. Level L's layers are moved up by
// L x the step.

struct WorldTileKey {
    enum class Kind : std::uint8_t { fill, over, slope, cliff };
    Kind kind = Kind::fill;
    WorldTerrain terrain = WorldTerrain::deep_water;  // fill: it; over: the upper one; slope, cliff: the ground
    std::uint8_t mask = 0;                            // over, slope, cliff: corner bits as transition_set.hpp
    std::uint8_t variant = 0;
    auto operator<=>(const WorldTileKey&) const = default;
};

struct WorldLayer {
    std::string name;  // "level0_grass", "level1_slopes"
    int level = 0;
    // width x height of the map, row by row: an index into WorldLayout::tiles, -1 for none.
    std::vector<int> cells;
};

struct WorldLayout {
    std::vector<WorldTileKey> tiles;  // every tile placed, sorted, each once
    std::vector<WorldLayer> layers;   // in drawing order; layers left empty are dropped
};

WorldLayout lay_out_world(const WorldMap& map);

// How high level `level` stands above level 0 at a tile width, in pixels:
// its tile layers are drawn that far up, and so is what stands on it.
int world_level_rise(int level, int iso_width);
