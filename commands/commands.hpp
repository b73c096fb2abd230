#pragma once
#include "state/tile_context.hpp"

// Draws one random tile with the generator of the showing panel tab (the
// About tab draws nothing) after recomputing the geometry.
void draw_random(TileContext& context);
