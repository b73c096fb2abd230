#pragma once
#include "state/texture_cells.hpp"
#include "state/tile_context.hpp"

// The water surface: two 64 x 64 water cells of the ground sheet squashed
// onto the tile diamond point by point, each point taking one of the two
// textures at random and darkened by its own random factor. With a moving
// water_phase the same draws are made and only the texels under the points
// move (generators/common/water_motion.hpp).

// Draws the unlocked texture indices (writing them back into the state), then
// paints the water over whatever the canvas holds.
void paint_water(TileContext& context);
