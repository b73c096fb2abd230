#include "generators/transition/transition_water.hpp"

#include "generators/common/diamond_mapping.hpp"
#include "generators/common/shading.hpp"
#include "generators/common/water_flow.hpp"
#include "generators/common/water_motion.hpp"

Colour transition_water_texel(const RasterImage& ground_sheet, SheetPoint water_cell, int half_width, int i, int j,
                              const std::function<float(int, int)>& shade_at, const WaterPhase& phase) {
    if (phase.flows())
        return FlowFrame(phase, half_width).colour(ground_sheet, i, j, [&](GridPoint from) {
            return CarriedWater{water_cell.x, water_cell.y, shade_at(from.i, from.j)};
        });
    const float step = 64.0f / static_cast<float>(half_width);
    const Colour texel = water_texel(ground_sheet, water_cell.x, water_cell.y, i, j, step, phase);
    return scale_colour(texel, shade_at(i, j));
}
