#pragma once
#include "canvas/colour.hpp"
#include "export/formats/godot_files.hpp"
#include "generators/world/world_layout.hpp"

#include <string>
#include <vector>

// The terrain sets of a world sheet's tiles, for Tiled's terrain brush and
// Godot 4's terrain painting alike, so that painting a terrain lays that
// terrain's tiles and no others:
//   "terrains"       every fill, all four corners its terrain: on one layer
//                    the brush lays a terrain's own fills (the world has no
//                    opaque tile between two terrains);
//   "T edges"        one a terrain T with over tiles: T's fills and its over
//                    tiles, whose corners are T or none (clear): on a layer
//                    of T alone, as the world lays it, the brush edges the
//                    painted ground with them, their clear side only towards
//                    empty cells, where the layer below shows;
//   "T slopes",      the slopes and cliffs of each ground T, their corners
//   "T cliffs"       low or high.
// Sets follow in that order; tile k of the sheet is cell k x frames. A Godot
// tile belongs to one terrain set, so a fill joins its edge set as its
// alternative tile 1, drawn alike.
struct WorldTerrainSets {
    std::string tiled;                    // a <wangsets> element, empty when no tile is of a terrain
    GodotKeys godot_tileset;              // the TileSet's terrain_set_N keys
    std::vector<GodotKeys> godot_tiles;   // tile k's keys ("0/terrain_set", "1/terrain", ...)
    std::vector<int> godot_alternatives;  // tile k's alternative tiles beside its own
};

// `keys`: the sheet's tiles in order (none for a sheet of objects); `names`
// and `colours`: every world terrain's, by terrain.
WorldTerrainSets world_terrain_sets(const std::vector<WorldTileKey>& keys, int frames,
                                    const std::vector<std::string>& names, const std::vector<Colour>& colours);
