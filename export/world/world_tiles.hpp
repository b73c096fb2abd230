#pragma once
#include "export/tile/tile_request.hpp"
#include "generators/world/world_layout.hpp"
#include "generators/world/world_palettes.hpp"

// What draws each tile a world places: the run's tile drawing with what the
// world decides, a tile of an ordinary set (--set-tile) that brannoc-render
// draws again alone. All sets of a world share its seed.
//
// A fill tile is a variant of the terrain's fill set; an over tile one of
// the set of its terrain over the one below, drawn with --over; slopes and
// cliffs tiles of the slope sets of their ground (cliffs faced with the
// palette's rock, and rising by their own step), or of their terrain over
// the one below with --over. Only tiles with water that can move take the
// run's frames; the rest are still.
TileRequest world_tile_request(const TileRequest& run, const WorldPalette& palette, const WorldTileKey& key);

// The palette a world of this shape uses.
const WorldPalette& world_palette(const WorldShape& shape);
