#include "export/tile/render_canvas.hpp"

#include "canvas/tile_geometry.hpp"

#include <algorithm>

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

int run_widest_drawn_width(const TileRequest& settings) {
    return widest_drawn_width(kind_row(settings.kind), settings.iso_width, run_controls(settings));
}

RenderCanvas render_canvas(const TileRequest& settings) {
    return render_canvas_for_width(run_widest_drawn_width(settings));
}
