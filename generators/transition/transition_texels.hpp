#pragma once
#include "state/texture_cells.hpp"
#include "canvas/colour.hpp"
#include "canvas/raster_image.hpp"
#include "generators/common/water_motion.hpp"
#include "generators/common/even_texture.hpp"
#include "generators/transition/variant_offset.hpp"

#include <vector>

class FlowFrame;

// The texels of a transition tile: grid point (i, j) of a tile of half width
// H reads its terrain's cell `offset` texels from where the plain tile reads
// it (wrapped round the seamless cell), darkened by the point's shade
// (0.50..0.99).

// Ground and rock, read from their evened cell.
Colour transition_land_texel(const EvenTexture& land, int half_width, int i, int j, float shade, TextureOffset offset);

// Every water texel, foam and shallows included, at the phase of the water's
// loop: the same sway as every other water surface
// (generators/common/water_motion.hpp), so the water continues across every
// tile edge in every frame. Nothing else in the transition painting reads the
// water texture, so the land of a shore is the same in every frame.
Colour transition_water_texel(const RasterImage& ground_sheet, SheetPoint water_cell, int half_width, int i, int j,
                              float shade, const WaterPhase& phase, TextureOffset offset);

// Flowing water, as the frame `flow` of the tile's phase sees it, carries the
// shades of the points it passes (`shades`, of every grid point, row by row)
// with its texels (generators/common/water_flow.hpp). It reads the shared place of the cell
// in every variant: a drifting texture shows no tile period to hide.
Colour transition_flowing_water_texel(const RasterImage& ground_sheet, SheetPoint water_cell, int half_width, int i,
                                      int j, const std::vector<float>& shades, const FlowFrame& flow);
