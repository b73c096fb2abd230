#pragma once
#include "state/tile_context.hpp"
#include "generators/tile_kinds.hpp"

// Draws one random tile with the generator of the showing panel tab (the
// About tab draws nothing) after recomputing the geometry.
void draw_random(TileContext& context);

// Draws one tile of a kind, whatever tab shows: the geometry first, then
// the kind's generator.
void draw_kind(TileContext& context, const TileKindRow& kind, const KindTile& tile = {});
