#include "generators/transition/transition_water.hpp"

#include "canvas/diamond_mapping.hpp"
#include "canvas/shading.hpp"

Colour transition_water_texel(const RasterImage& ground_sheet, SheetPoint water_cell, int half_width, int i, int j,
                              float shade) {
    const float step = 64.0f / static_cast<float>(half_width);
    return scale_colour(diamond_texel(ground_sheet, water_cell.x, water_cell.y, i, j, step), shade);
}
