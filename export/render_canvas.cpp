#include "export/render_canvas.hpp"

#include "canvas/tile_geometry.hpp"
#include "state/control_ids.hpp"

#include <algorithm>

PaintReach paint_reach(int w) {
    // Bounds with a few pixels to spare over the generators' worst cases:
    // a broadleaf of height H (at most w / 2) whose foot stands w / 8 behind
    // the centre has leaves up to 2H + 2H / 3 above its foot; clusters spread
    // H / 2 + 2H / 3 beside a foot up to w / 4 off the centre.
    return {3 * w / 2 + 8, 3 * w / 8 + 10, (17 * w + 19) / 20 + 8};
}

RenderCanvas render_canvas_for_width(int drawn_width) {
    const PaintReach reach = paint_reach(drawn_width);
    RenderCanvas canvas;
    canvas.origin_x = std::max(0, reach.side + 1 - TileGeometry::centre_x);
    canvas.origin_y = std::max(0, reach.up + 1 - TileGeometry::ground_y);
    const int below = std::max(0, reach.down + 1 - (TileGeometry::canvas_height - TileGeometry::ground_y));
    canvas.width = TileGeometry::canvas_width + 2 * canvas.origin_x;
    canvas.height = canvas.origin_y + TileGeometry::canvas_height + below;
    return canvas;
}

int widest_drawn_width(const RenderSettings& settings) {
    bool size_locked = true;
    for (const auto& [control, state] : settings.controls)
        if (control == ctl::lock_size) size_locked = state != 0;
    const bool any_house_width = settings.tab == tab_house && !size_locked;
    return any_house_width ? std::max(settings.iso_width, 160) : settings.iso_width;
}

RenderCanvas render_canvas(const RenderSettings& settings) {
    return render_canvas_for_width(widest_drawn_width(settings));
}
