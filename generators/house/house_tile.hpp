#pragma once
#include "state/tile_context.hpp"

// The House tab's generator: a whole random house tile on the canvas, on its
// ground, ending with show_tile. It paints the four wall faces back to front
// (wall_faces.hpp; each with its doors and windows, openings.hpp, and for a
// ruin its broken top and rubble), the roof (roof.hpp), then flowers and
// fences (house_extras.hpp).
void draw_house_tile(TileContext& context);
