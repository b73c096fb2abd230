#include "generators/transition/road_tile.hpp"

#include "canvas/drawing_context.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "generators/transition/road_paint.hpp"
#include "state/tile_setup.hpp"

namespace {
// The set's own tile below, or for an over tile a clear canvas.
void begin_road_tile(TileContext& context, const TransitionTileSpec& spec) {
    TransitionTileSpec plain = spec;
    plain.road = {};
    if (spec.over) {
        set_tile_geometry(context);
        begin_tile(context, tile_area_colour);
    } else {
        draw_transition_tile(context, plain);
    }
}
}  // namespace

void draw_road_tile(TileContext& context, const TransitionTileSpec& spec) {
    begin_road_tile(context, spec);
    const int half_width = context.state.geometry.half_width;
    const RoadPaint road(context.state.ground_sheet.image, spec.b, spec.road, spec.set_seed, spec.variant, half_width);
    DrawingContext dc(context.state.canvas, context.request.surfaces);
    for (int i = 0; i < half_width; ++i)
        for (int j = 0; j < half_width; ++j) {
            const OverPixel pixel = road.at(i, j);
            if (pixel.alpha == 0) continue;
            const CanvasPoint at = diamond_pixel(half_width, i, j);
            const Colour below = spec.over ? context.request.background : dc.point(at.x, at.y);
            const Colour colour = lay_over(below, pixel);
            if (dc.mapping_surfaces()) dc.reuse_surface(0);
            dc.plot(at.x, at.y, colour);
            dc.plot(at.x + 1, at.y, colour);
        }
    show_tile(context);
}
