#pragma once
#include "state/tile_context.hpp"

// Clears the canvas and paints a whole terrain tile with the Terrain tab's
// settings and locks: the shaded ground (or swamp) and on it the pool, grass
// or crops, boulders, bushes and the Tree tab's trees. Writes back the
// unlocked ground and water textures and the grass colour. The house
// generator calls it to stand a house on the same ground.
void draw_terrain(TileContext& context);

// The Terrain tab's generator: draw_terrain on a cleared canvas, ending with
// show_tile.
void draw_terrain_tile(TileContext& context);
