#pragma once
#include "state/texture_cells.hpp"
#include "canvas/colour.hpp"
#include "canvas/raster_image.hpp"
#include "generators/common/water_motion.hpp"

#include <functional>

// Every water texel of a transition tile, foam and shallows included, starts
// here: the water cell's texel for grid point (i, j) of a tile of half width
// H, darkened by the point's shade (0.50..0.99), at the phase of the water's
// loop: the same sway as every other water surface (generators/common/water_motion.hpp),
// so the water continues across every tile edge in every frame, and the
// shade left alone, which the edges of a tile's variants share. Nothing else
// in the transition painting reads the water texture, so the land of a shore
// is the same in every frame. Flowing water carries the shades of the points
// it passes (shade_at, of any grid point) with its texels
// (generators/common/water_flow.hpp).
Colour transition_water_texel(const RasterImage& ground_sheet, SheetPoint water_cell, int half_width, int i, int j,
                              const std::function<float(int, int)>& shade_at, const WaterPhase& phase);
