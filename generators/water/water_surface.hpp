#pragma once
#include "app/state/tile_context.hpp"

// The water surface: two 64 x 64 water cells of the ground sheet squashed
// onto the tile diamond point by point, each point taking one of the two
// textures at random and darkened by its own random factor.

// Top-left pixel of water texture `index` in the ground sheet. The water row
// is row 5; indices 10 and up continue on the rows below it.
struct SheetPoint {
    int x = 0;
    int y = 0;
};
SheetPoint water_cell_origin(int index);

// Draws the unlocked texture indices (writing them back into the state), then
// paints the water over whatever the canvas holds.
void paint_water(TileContext& context);
