#include "generators/slope/slope_set.hpp"

#include "canvas/drawing_context.hpp"
#include "generators/slope/cliff_painter.hpp"
#include "generators/slope/slope_painter.hpp"
#include "generators/slope/slope_surface.hpp"
#include "state/tile_setup.hpp"

#include <algorithm>

TransitionTileSpec slope_ground_tile(const SlopeTileSpec& spec) {
    TransitionTileSpec tile;
    tile.a = spec.ground;
    tile.b = spec.over ? spec.upper : spec.ground;
    tile.mask = spec.over ? spec.ground_mask : 0;
    tile.variant = spec.variant;
    tile.set_seed = spec.set_seed;
    tile.over = spec.over;
    return tile;
}

int default_slope_step(int iso_width) { return std::max(2, iso_width / 8 / 2 * 2); }
int largest_slope_step(int iso_width) { return std::max(2, iso_width / 4 / 2 * 2); }
int slope_step(const SlopeTileSpec& spec, int iso_width) {
    return spec.step > 0 ? spec.step : default_slope_step(iso_width);
}

void draw_slope_tile(TileContext& context, const SlopeTileSpec& spec) {
    set_tile_geometry(context);  // the diamond's geometry at the chosen width
    const int half_width = context.state.geometry.half_width;
    const int step = slope_step(spec, context.state.geometry.iso_width);
    begin_tile(context, tile_area_colour);
    DrawingContext dc(context.state.canvas, context.request.surfaces, context.request.painted);
    if (spec.cliff) {
        paint_cliff(context.state, spec, half_width, step, context.request.background, dc);
    } else {
        paint_slope(context.state, spec, half_width, step, context.request.background, dc);
    }
    show_tile(context);
}

double slope_surface_height(int mask, double u, double v) { return SlopeSurface(mask).height(u, v); }
