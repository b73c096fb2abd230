#pragma once
#include "state/tile_context.hpp"

// The Water tab's generator: a whole random water tile on the canvas, ending
// with show_tile.
void draw_water_tile(TileContext& context);
