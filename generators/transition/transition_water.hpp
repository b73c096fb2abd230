#pragma once
#include "state/texture_cells.hpp"
#include "canvas/colour.hpp"
#include "canvas/raster_image.hpp"

// Every water texel of a transition tile, foam and shallows included, starts
// here: the water cell's texel for grid point (i, j) of a tile of half width
// H, darkened by the point's shade (0.50..0.99). Water that moves will need
// a time phase, and this is the one place to add it: shift where the texel
// is read as a whole number of texture periods passes, so the water still
// continues across every tile edge, and leave the shade alone, which the
// edges of a tile's variants share. Nothing else in the transition painting
// reads the water texture.
Colour transition_water_texel(const RasterImage& ground_sheet, SheetPoint water_cell, int half_width, int i, int j,
                              float shade);
