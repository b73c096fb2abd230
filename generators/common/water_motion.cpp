#include "generators/common/water_motion.hpp"

#include "canvas/numbers.hpp"
#include "generators/common/diamond_mapping.hpp"

#include <cmath>

namespace {
constexpr double cell = 64.0;
constexpr double two_pi = 6.283185307179586;
// The ripple: how far a point sways (texels), and waves that fit twice across
// a cell. No drift: a whole cell a loop would move several texels a frame,
// further than the textures stay alike, and the water would flicker.
constexpr double ripple_texels = 3.0;
constexpr double ripple_waves = 2.0;

int wrap(int at) { return ((at % 64) + 64) % 64; }
}  // namespace

CellPosition moving_position(double u, double v, const WaterPhase& phase) {
    if (phase.still()) return {u, v};
    const double turn = static_cast<double>(phase.frame % phase.frames) / phase.frames;
    const double angle = two_pi * turn;
    // The textures' crests run along u, so the drift is along v: the waves
    // roll towards the tile's left edge. Each sway depends on the other axis,
    // so the surface bends rather than sliding as one piece; a whole number
    // of waves a cell keeps it seamless.
    const double sway_u = ripple_texels * std::sin(two_pi * ripple_waves * v / cell + angle);
    const double sway_v = ripple_texels * std::sin(two_pi * ripple_waves * u / cell - angle);
    return {u + sway_u, v + sway_v};
}

Colour smooth_cell_texel(const RasterImage& sheet, int x0, int y0, CellPosition at) {
    const double fu = std::floor(at.u), fv = std::floor(at.v);
    const double wu = at.u - fu, wv = at.v - fv;
    const int u0 = wrap(static_cast<int>(fu)), v0 = wrap(static_cast<int>(fv));
    const int u1 = wrap(u0 + 1), v1 = wrap(v0 + 1);
    const Colour c00 = sheet.colour_at(x0 + u0, y0 + v0), c10 = sheet.colour_at(x0 + u1, y0 + v0);
    const Colour c01 = sheet.colour_at(x0 + u0, y0 + v1), c11 = sheet.colour_at(x0 + u1, y0 + v1);
    const auto blend = [&](int (*channel)(Colour)) {
        const double top = channel(c00) * (1 - wu) + channel(c10) * wu;
        const double bottom = channel(c01) * (1 - wu) + channel(c11) * wu;
        return nearest_to_int(top * (1 - wv) + bottom * wv);
    };
    return rgb(blend(red), blend(green), blend(blue));
}

Colour moving_water_texel(const RasterImage& sheet, int x0, int y0, int i, int j, float step, const WaterPhase& phase) {
    const CellPosition at = moving_position(i * static_cast<double>(step), j * static_cast<double>(step), phase);
    return smooth_cell_texel(sheet, x0, y0, at);
}

Colour water_texel(const RasterImage& sheet, int x0, int y0, int i, int j, float step, const WaterPhase& phase) {
    return phase.still() ? diamond_texel(sheet, x0, y0, i, j, step)
                         : moving_water_texel(sheet, x0, y0, i, j, step, phase);
}
