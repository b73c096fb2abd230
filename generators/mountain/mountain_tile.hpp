#pragma once
#include "state/tile_context.hpp"

// The Mountain tab's generator: a whole random mountain tile on the canvas,
// ending with show_tile.
void draw_mountain_tile(TileContext& context);
