#include "generators/transition/transition_water.hpp"

#include "canvas/diamond_mapping.hpp"
#include "canvas/shading.hpp"
#include "canvas/water_motion.hpp"

Colour transition_water_texel(const RasterImage& ground_sheet, SheetPoint water_cell, int half_width, int i, int j,
                              float shade, const WaterPhase& phase) {
    const float step = 64.0f / static_cast<float>(half_width);
    const Colour texel = phase.still() ? diamond_texel(ground_sheet, water_cell.x, water_cell.y, i, j, step)
                                       : moving_water_texel(ground_sheet, water_cell.x, water_cell.y, i, j, step, phase);
    return scale_colour(texel, shade);
}
