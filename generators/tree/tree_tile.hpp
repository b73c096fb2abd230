#pragma once
#include "state/tile_context.hpp"

// The Tree tab's generator: a whole random tree tile on the canvas, ending with
// show_tile.
void draw_tree_tile(TileContext& context);
