#include "generators/house/roof.hpp"

#include "state/texture_cells.hpp"
#include "canvas/numbers.hpp"
#include "generators/house/wall_faces.hpp"

#include <cmath>

namespace {
// The slope's own plane, pitched as the ridge is drawn: texel row i of d
// stands roof_rise(d) (1 - i / d) above the eaves, so the height is a plane
// over the screen too.
Surface roof_surface(int px, int py, int d, int house_height, bool left) {
    const double rise = roof_rise(d);
    const double run = ground_step_in_height * d / 2.0;  // half the depth, in pixels of height
    const double pitch = std::atan2(rise, run);
    const double out = std::sin(pitch), up = std::cos(pitch);
    Surface s = plane_at_height(left ? ground_axes(0.0, out, up) : ground_axes(out, 0.0, up), 0.0f);
    // Row i = (y - py -+ (x - px) / 2) / 1.25, height H + rise - (rise / d) i.
    const double k = d > 0 ? rise / d : 0.0;
    const double side = left ? 1.0 : -1.0;
    s.per_x = static_cast<float>(side * k / 2.5);
    s.per_y = static_cast<float>(-k / 1.25);
    s.base = static_cast<float>(house_height + rise + k / 1.25 * py - side * k / 2.5 * px);
    return s;
}
}  // namespace

void draw_roof(TileContext& context, int x1, int y1, int x2, int y2, int x3, int house_height, int side, int cell) {
    const int a = x2 - x1;                                 // across the left front wall
    const int b = x3 - x2;                                 // across the right front wall
    const int e = context.state.geometry.house_size / 20;  // the eave's overhang
    const bool left = side == 0;
    // The ridge's start, its length n (texel columns 0..n) and the slope's
    // depth d (texel rows 0..d). Along the ridge the roof follows its front
    // wall; down the slope it moves half a pixel sideways a row.
    const int px = left ? x1 - e + b / 2 : x2 - a / 2;
    const int py = left ? y1 - house_height - b + e : y2 - house_height - a + e;
    const int n = left ? (x3 - b / 2) - px : b + e / 2;
    const int d = left ? b : a;
    const float q = left ? 1.5f : 1.0f;  // the left slope lies in shadow

    const SheetPoint origin = building_cell_origin(cell);
    const RasterImage& sheet = context.state.building_sheet.image;
    DrawingContext dc(context.state.canvas, context.request.surfaces, context.request.painted);
    if (dc.mapping_surfaces()) dc.set_surface(roof_surface(px, py, d, house_height, left));
    dc.set_painted_light(1.0f / q);
    for (int i = 0; i <= d; ++i) {
        for (int j = 0; j <= n; ++j) {
            const Colour p = sheet.colour_at(origin.x + j, origin.y + i);
            if (p == transparent_key) continue;
            const int x = left ? px + j - i / 2 : px + j + i / 2;
            const int y = left ? py + i + j / 2 : py + i - j / 2;
            const Colour k = left ? rgb(nearest_to_int(red(p) / static_cast<double>(q)),
                                        nearest_to_int(green(p) / static_cast<double>(q)),
                                        nearest_to_int(blue(p) / static_cast<double>(q)))
                                  : p;
            dc.plot(x, y, k);
            dc.plot(x + 1, y, k);
        }
    }
}
