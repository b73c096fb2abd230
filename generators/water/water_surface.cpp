#include "generators/water/water_surface.hpp"

#include "state/control_ids.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "canvas/drawing_context.hpp"
#include "canvas/numbers.hpp"
#include "generators/common/shading.hpp"
#include "generators/common/water_flow.hpp"
#include "generators/common/water_motion.hpp"

#include <memory>
#include <vector>

namespace {
constexpr int water_texture_count = 10;
// r > 50 picks the first texture: 49 chances in 100, the second gets 51.
constexpr int first_texture_above = 50;
}  // namespace

void paint_water(TileContext& context) {
    AppState& state = context.state;
    RandomSource& random = context.random;
    if (!context.controls.checked(ctl::lock_water_texture_1))
        state.water_texture_1 = random_below(random, water_texture_count);
    if (!context.controls.checked(ctl::lock_water_texture_2))
        state.water_texture_2 = random_below(random, water_texture_count);

    const SheetPoint first = water_cell_origin(state.water_texture_1);
    const SheetPoint second = water_cell_origin(state.water_texture_2);
    const int half_width = state.geometry.half_width;
    const float step = 64.0f / static_cast<float>(half_width);
    const RasterImage& sheet = state.ground_sheet.image;

    // Every point's texture and shade, drawn in the same order whether the
    // water is still, sways or flows: flowing water carries them along.
    struct Point {
        const SheetPoint* cell;
        float shade;
    };
    std::vector<Point> points(static_cast<std::size_t>(half_width) * half_width);
    for (Point& point : points) {
        point.cell = random_below(random, 100) > first_texture_above ? &first : &second;
        point.shade = random_shade_factor(random);
    }
    const WaterPhase& phase = context.request.water_phase;
    const std::shared_ptr<const FlowFrame> flow = phase.flows() ? shared_flow_frame(phase, half_width) : nullptr;
    const auto point_at = [&](int i, int j) -> const Point& {
        return points[static_cast<std::size_t>(i) * half_width + j];
    };

    DrawingContext dc(state.canvas, context.request.surfaces, context.request.painted);
    for (int i = 0; i < half_width; ++i) {
        for (int j = 0; j < half_width; ++j) {
            const Point& point = point_at(i, j);
            // Read in place from the whole sheet; the cell is never cut out.
            const Colour water =
                flow ? flow->colour(sheet, i, j,
                                    [&](GridPoint from) {
                                        const Point& carried = point_at(from.i, from.j);
                                        return CarriedWater{carried.cell->x, carried.cell->y, carried.shade};
                                    })
                     : scale_colour(water_texel(sheet, point.cell->x, point.cell->y, i, j, step, phase), point.shade);
            // The pixel pair closes the gaps the half-pixel vertical steps leave.
            const CanvasPoint at = diamond_pixel(half_width, i, j);
            dc.plot(at.x, at.y, water);
            dc.plot(at.x + 1, at.y, water);
        }
    }
}
