#pragma once
#include "export/render_settings.hpp"
#include "generators/world/world_layout.hpp"
#include "generators/world/world_palettes.hpp"

// What draws each tile a world places: the settings of a run of one set
// tile (--set-tile), so every world tile is a tile of an ordinary set that
// brannoc-render draws again alone. All sets of a world share its seed.
//
// A fill tile is a variant of the terrain's fill set; an over tile one of
// the set of its terrain over the one below, drawn with --over; slopes and
// cliffs tiles of the slope sets of their ground (cliffs faced with the
// palette's rock).
RenderSettings world_tile_settings(const RenderSettings& run, const WorldPalette& palette, const WorldTileKey& key);

// The palette a run's world uses.
const WorldPalette& world_palette(const RenderSettings& run);
