#pragma once
#include "export/formats/sheet_layout.hpp"
#include "export/formats/transition_engine_files.hpp"

#include <cstdint>
#include <string>
#include <vector>

// The engine data of a slope or cliff set: a corner terrain set of "low"
// and "high" (tile k has the high corners of mask k % 16), and a sample map
// of a hill.
//
// A map of several levels has one layer a level, moved up by level x step;
// a cell goes on the layer of its lowest corner, as the tile of its corners
// above that level.

// "low" and "high", coloured as the set's tiles 0 and 15 look (over tiles:
// those whose corners are all B's), high lighter.
std::vector<TerrainSwatch> slope_swatches(const std::vector<RenderedTile>& tiles, bool over);

// A (map_size + 1) square grid of corner levels 0..levels - 1, row by row:
// a hill grown from random heights, level 0 along the map's border, and the
// four corners of every cell within one level of each other.
std::vector<int> hill_corner_levels(int map_size, int levels, std::uint64_t seed);

// A cell's layer and tile: the level of its lowest corner, and the mask of
// its corners above it (plus 16 x a random variant). Given the corners'
// grounds (0 A, 1 B, as the levels are laid out), the tiles are over tiles:
// their B corners come in between.
struct LevelledCell {
    int level = 0;
    int tile = 0;
};
std::vector<LevelledCell> cells_for_levels(const std::vector<int>& levels, int map_size, int variants,
                                           std::uint64_t seed, const std::vector<int>& grounds = {});

// The Tiled sample map: the hill, one layer a level with offsety -level x step;
// of over tiles, with an island of B on it.
std::string slope_hill_map(const SheetLayout& layout, int tile_count, const std::string& tileset_file, int step,
                           int variants, std::uint64_t seed, bool over, int id_stride = 1);
