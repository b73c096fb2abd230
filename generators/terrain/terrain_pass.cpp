#include "generators/terrain/terrain_pass.hpp"

#include "state/control_ids.hpp"
#include "state/texture_cells.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "generators/common/shading.hpp"
#include "generators/common/water_flow.hpp"
#include "generators/common/water_motion.hpp"
#include "generators/terrain/terrain_elements.hpp"
#include "generators/terrain/terrain_layout.hpp"
#include "generators/tree/trees.hpp"

#include <memory>
#include <vector>

namespace {
constexpr int swamp_water_above = 30;  // r > 30: 69 chances in 100
}

void paint_ground(TileContext& context, DrawingContext& dc, int half_width) {
    const AppState& state = context.state;
    const SheetPoint ground = ground_cell_origin(state.ground_texture);
    const SheetPoint water = water_cell_origin(state.terrain_water_texture);
    const bool swamp = context.controls.checked(ctl::swamp);
    const float step = 64.0f / static_cast<float>(half_width);
    const RasterImage& sheet = state.ground_sheet.image;
    // Each point's wetness and shade, drawn in the same order however the
    // water moves: flowing water carries the shades of the points it passes.
    struct Point {
        bool wet;
        float shade;
    };
    std::vector<Point> points(static_cast<std::size_t>(half_width) * half_width);
    for (Point& point : points) {
        point.wet = swamp && random_below(context.random, 100) > swamp_water_above;
        point.shade = random_shade_factor(context.random);
    }
    const WaterPhase& phase = context.request.water_phase;
    const std::shared_ptr<const FlowFrame> flow =
        phase.flows() && swamp ? shared_flow_frame(phase, half_width) : nullptr;
    for (int i = 0; i < half_width; ++i) {
        for (int j = 0; j < half_width; ++j) {
            const Point& point = points[static_cast<std::size_t>(i) * half_width + j];
            Colour colour = 0;
            if (point.wet && flow) {
                colour = flow->colour(sheet, i, j, [&](GridPoint from) {
                    return CarriedWater{water.x, water.y,
                                        points[static_cast<std::size_t>(from.i) * half_width + from.j].shade};
                });
            } else {
                const SheetPoint& cell = point.wet ? water : ground;
                const Colour texel = point.wet ? water_texel(sheet, cell.x, cell.y, i, j, step, phase)
                                               : diamond_texel(sheet, cell.x, cell.y, i, j, step);
                colour = scale_colour(texel, point.shade);
            }
            if (colour == 0) colour = darkest_ground;
            const CanvasPoint at = diamond_pixel(half_width, i, j);
            dc.plot(at.x, at.y, colour);
            dc.plot(at.x + 1, at.y, colour);
        }
    }
}

void paint_terrain_elements(TileContext& context, DrawingContext& dc, int half_width, const BladeSettings& blades) {
    TerrainCanvas canvas{dc, context.state, context.random, half_width, context.request.water_phase};
    const Colour grass = context.state.grass_colour;
    for (int j = 0; j <= half_width; ++j) {
        for (int i = 0; i <= half_width; ++i) {
            switch (terrain_cell(context.state, i, j)) {
                case cell_grass: draw_grass_blade(canvas, i, j, blades.height, grass, blades.crops); break;
                case cell_boulder: draw_boulder(canvas, i, j); break;
                case cell_bush: draw_bush(canvas, i, j, grass); break;
                case cell_tree: draw_trees(context); break;  // the Tree tab's trees, wherever the cell is
                case cell_pool: draw_pool_texel(canvas, i, j); break;
                default: break;
            }
        }
    }
}
