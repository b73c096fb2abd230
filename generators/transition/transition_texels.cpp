#include "generators/transition/transition_texels.hpp"

#include "canvas/numbers.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "generators/common/shading.hpp"
#include "generators/common/water_flow.hpp"

namespace {
int wrap(int at) { return ((at % ground_cell_size) + ground_cell_size) % ground_cell_size; }
}  // namespace

Colour transition_land_texel(const EvenTexture& land, int half_width, int i, int j, float shade, TextureOffset offset) {
    const float step = 64.0f / static_cast<float>(half_width);
    if (offset.u == 0 && offset.v == 0) return scale_colour(land.at_point(i, j, step), shade);
    return scale_colour(land.at(nearest_to_int(i * static_cast<double>(step) + offset.u),
                                nearest_to_int(j * static_cast<double>(step) + offset.v)),
                        shade);
}

Colour transition_water_texel(const RasterImage& sheet, SheetPoint water_cell, int half_width, int i, int j,
                              float shade, const WaterPhase& phase, TextureOffset offset) {
    const float step = 64.0f / static_cast<float>(half_width);
    if (offset.u == 0 && offset.v == 0)
        return scale_colour(water_texel(sheet, water_cell.x, water_cell.y, i, j, step, phase), shade);
    const double u = i * static_cast<double>(step) + offset.u, v = j * static_cast<double>(step) + offset.v;
    const Colour texel =
        phase.still() ? sheet.colour_at(water_cell.x + wrap(nearest_to_int(u)), water_cell.y + wrap(nearest_to_int(v)))
                      : smooth_cell_texel(sheet, water_cell.x, water_cell.y, moving_position(u, v, phase));
    return scale_colour(texel, shade);
}

Colour transition_flowing_water_texel(const RasterImage& sheet, SheetPoint water_cell, int half_width, int i, int j,
                                      const std::vector<float>& shades, const FlowFrame& flow) {
    const std::size_t h = static_cast<std::size_t>(half_width);
    return flow.colour(sheet, i, j, [&](GridPoint from) {
        return CarriedWater{water_cell.x, water_cell.y, shades[static_cast<std::size_t>(from.j) * h + from.i]};
    });
}
