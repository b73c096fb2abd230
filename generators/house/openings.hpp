#pragma once
#include "state/tile_context.hpp"
#include "canvas/raster_image.hpp"

// Windows in storey rows and at most one door, on the ground row, pasted
// into a face's upright image.
void place_openings(TileContext& context, RasterImage& wall, int face_width, int image_height);
