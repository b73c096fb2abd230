#pragma once
#include "export/problem.hpp"
#include "export/tile/tile_request.hpp"

#include <optional>
#include <string>

// How a transition run numbers its tiles: tile index = corner mask + 16 x
// variant, the mask's bits being top 1, right 2, bottom 4, left 8, a set
// bit meaning terrain B.
// A fill set, of one terrain, has one tile a variant: tile index = variant.
// A slope set's over tiles have a tile for every high corners and B's
// corners: index = high corners + 16 x B's corners + 256 x variant.
inline int set_masks(const TileChoice& settings) {
    if (settings.fill_set) return 1;
    return settings.kind == TileKind::slope && settings.over ? corner_masks * corner_masks : corner_masks;
}
inline int transition_mask(const TileRequest& settings, int index) { return index % set_masks(settings); }
inline int transition_variant(const TileRequest& settings, int index) { return index / set_masks(settings); }
// The index in its set of tile `index` of the run: a run of one set tile
// draws that tile.
inline int set_index(const TileChoice& settings, int index) { return settings.set_tile.value_or(index); }

// What tile `index` of a transition run draws. Every tile of the run shares
// the set seed, derived from --seed.
TransitionTileSpec transition_tile_spec(const TileRequest& settings, int index);

// Reads "A,B" or "A" alone (a fill set), each "ground:N" (0-19), "water:N" (0-9) or "rock:N" (0-19),
// into the settings; the problem in a sentence when it does not read.
Problem read_transition_terrains(TileChoice& settings, const std::string& text);
