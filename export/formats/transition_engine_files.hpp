#pragma once
#include "export/formats/godot_files.hpp"
#include "export/render_settings.hpp"
#include "export/tile/rendered_tile.hpp"
#include "generators/transition/transition_set.hpp"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The terrain data of a transition set in the engine files beside its
// sheet. Tile k of the set has the corners of mask k % 16.

struct TerrainSwatch {
    std::string name;  // as the command line writes it: "ground:3"
    Colour colour;     // for the editors' terrain swatches
};

// The set's terrains (two, or one for a fill set), coloured as their pure
// tiles (0 and 15) look on average. An over set paints no A at all: A is
// coloured as its texture in `ground_sheet` looks on average.
std::vector<TerrainSwatch> terrain_swatches(const RenderSettings& settings, const std::vector<RenderedTile>& tiles,
                                            const RasterImage* ground_sheet = nullptr);

// Tiled's wangid lists a tile's eight neighbours clockwise from the top
// edge (Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left, TopLeft)
// in map cells. On an isometric map the cell above is the one up and to the
// right, so the corner between Top and Right is the diamond's right corner,
// and so on round the diamond.
inline constexpr int wang_slot_right = 1, wang_slot_bottom = 3, wang_slot_left = 5, wang_slot_top = 7;

// A <wangsets> element holding one corner set of the terrains (colour 1 is
// A, 2 is B) with a <wangtile> for every tile: of two terrains tile k has the
// corners of mask k % 16, of one (a fill set) every tile is all A.
// Tile k is the tileset's tile k x id_stride (the tiles between are its animation frames).
// Each terrain is shown by its pure tile, but A of an over set (whose tile 0
// is clear) by its colour alone.
std::string tiled_wangsets(const std::vector<TerrainSwatch>& terrains, int tile_count, int id_stride = 1,
                           bool over = false);

// A terrain as a <wangcolor> of a Wang set, shown by its tile (-1 for none).
std::string tiled_wangcolor(const TerrainSwatch& terrain, int tile);

// Godot 4: terrain set `set` matching corners, terrain 0 A and 1 B (if any)
// or the swatches in turn; and a tile's terrain set, terrain and four corner
// peering bits.
GodotKeys godot_terrain_set(const std::vector<TerrainSwatch>& terrains, int set = 0);
GodotKeys godot_tile_terrain(int mask);

// The tile for each cell of a map_size x map_size isometric map over a
// (map_size + 1) square grid of corner terrains (row by row, 0 or 1): the
// tile of the cell's four corners, of a random variant, in a set of
// `masks` tiles a variant (16, or 1 for a fill set).
std::vector<int> tiles_for_corners(const std::vector<int>& corners, int map_size, int variants, std::uint64_t seed,
                                   int masks = corner_masks);

// The corner terrains of a sample map (row by row, 0 A or 1 B): an island
// of B in A, its coast drawn from `seed`, the map's border all A.
std::vector<int> island_corners(int map_size, std::uint64_t seed);

// The sample map's tiles, row by row: the island's corners (a fill set's
// map all A), each cell's variant at random. The Tiled map and the GIF
// preview both show this.
std::vector<int> sample_corner_tiles(int map_size, int variants, std::uint64_t seed, bool fill_set = false);

// A Tiled map with its tiles laid out as sample_corner_tiles says.
std::string with_corner_layout(const std::string& map, int map_size, int variants, std::uint64_t seed,
                               int id_stride = 1, bool fill_set = false);
