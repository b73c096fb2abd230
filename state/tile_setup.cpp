#include "state/tile_setup.hpp"

#include "state/control_ids.hpp"
#include "state/ui_port.hpp"
#include "canvas/drawing_context.hpp"

namespace {
int current_iso_width(TileContext& context) {
    const int override_width = context.request.iso_width;
    return override_width > 0 ? override_width : iso_width_for_item(context.controls.read(ctl::iso_width));
}
}  // namespace

int set_house_size(TileContext& context) {
    TileGeometry& g = context.state.geometry;
    g.iso_width = static_cast<std::int16_t>(current_iso_width(context));
    g.house_size = static_cast<std::int16_t>(house_size_for_width(g.iso_width));
    return g.house_size;
}

int set_half_width(TileContext& context) {
    TileGeometry& g = context.state.geometry;
    g.iso_width = static_cast<std::int16_t>(current_iso_width(context));
    g.half_width = static_cast<std::int16_t>(g.iso_width / 2);
    return g.half_width;
}

void set_tile_geometry(TileContext& context) {
    compute_tile_geometry_at_width(context.state.geometry, current_iso_width(context),
                                   context.controls.read(ctl::house_shape));
}

int set_roof_side(TileContext& context) {
    context.state.roof_side = static_cast<std::int16_t>(context.controls.read(ctl::roof_shape));
    return context.state.roof_side;
}

void begin_tile(TileContext& context, Colour outline_colour) {
    const TileGeometry& g = context.state.geometry;
    const TileCanvas& canvas = context.state.canvas;
    if (SurfaceIds* surfaces = context.request.surfaces) surfaces->clear();
    // Only the painted mask rides along: the outline is painted, the
    // background is not.
    DrawingContext dc(context.state.canvas, nullptr, context.request.painted);
    dc.erase_box(-canvas.origin_x(), -canvas.origin_y(), canvas.width(), canvas.height(), context.request.background);
    dc.set_drawing_mode(DrawingMode::Outlined);
    if (context.controls.checked(ctl::draw_tile_area)) {
        dc.line_xy(g.tile_left_x, g.ground_y, g.centre_x, g.tile_top_y, outline_colour);
        dc.line_xy(g.centre_x, g.tile_top_y, g.tile_right_x, g.ground_y, outline_colour);
        dc.line_xy(g.tile_right_x, g.ground_y, g.centre_x, g.tile_bottom_y, outline_colour);
        dc.line_xy(g.centre_x, g.tile_bottom_y, g.tile_left_x, g.ground_y, outline_colour);
    }
}

void show_tile(TileContext& context) {
    AppState& state = context.state;
    state.display_image = grab_image(state.canvas, state.canvas.origin_x(), state.canvas.origin_y(),
                                     TileGeometry::canvas_width, TileGeometry::canvas_height);
    if (context.ui) context.ui->show_display_image(state.display_image);
}
