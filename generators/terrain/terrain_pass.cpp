#include "generators/terrain/terrain_pass.hpp"

#include "state/control_ids.hpp"
#include "state/texture_cells.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "generators/common/shading.hpp"
#include "generators/common/water_motion.hpp"
#include "generators/terrain/terrain_elements.hpp"
#include "generators/terrain/terrain_layout.hpp"
#include "generators/tree/trees.hpp"

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
    for (int i = 0; i < half_width; ++i) {
        for (int j = 0; j < half_width; ++j) {
            const bool wet = swamp && random_below(context.random, 100) > swamp_water_above;
            const SheetPoint& cell = wet ? water : ground;
            const Colour texel = wet ? water_texel(sheet, cell.x, cell.y, i, j, step, context.request.water_phase)
                                     : diamond_texel(sheet, cell.x, cell.y, i, j, step);
            Colour colour = scale_colour(texel, random_shade_factor(context.random));
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
