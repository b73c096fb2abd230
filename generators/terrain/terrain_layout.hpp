#pragma once
#include "state/tile_context.hpp"

#include <cstdint>

// What a cell (i, j) of the terrain grid holds. Cells map onto the diamond
// as the ground's texels do; i runs to the right corner, j to the left.
enum TerrainCell : std::int8_t {
    cell_empty = 0,
    cell_grass = 1,
    cell_boulder = 2,
    cell_bush = 3,
    cell_tree = 4,
    cell_pool = 5,
};

inline std::int8_t& terrain_cell(AppState& state, int i, int j) { return state.grass_mask[i * grass_mask_side + j]; }
inline std::int8_t terrain_cell(const AppState& state, int i, int j) {
    return state.grass_mask[i * grass_mask_side + j];
}

// The scale factors of the placements. The 0.7 is one step above the double
// nearest to 0.7, so that for instance H = 35 reaches 25 rather than 24.
inline constexpr double boulder_reach = 0.70000000000000007;
inline constexpr double boulder_offset = 0.4;
inline constexpr double bush_reach = 0.9;
inline constexpr double bush_offset = 0.1;

// The pool's margin: trunc(H / 6), at least 3.
constexpr int pool_margin(int half_width) { return half_width / 6 < 3 ? 3 : half_width / 6; }

// Lays out the ticked elements on the cleared grass_mask, in priority order:
// pool, grass, boulders, trees, bushes; a later placement on a taken cell is
// lost. density_item is "Grass density:" as read (replaced by a
// random one unless "Lock density" is ticked).
void lay_out_terrain(TileContext& context, int half_width, int density_item);
