#pragma once
#include "export/tile/tile_request.hpp"

// The canvas brannoc-render draws a tile on: the window's 260 x 260 square
// with room around it for all a tile can paint past that square's edges (a
// broadleaf crown at width 200 reaches nearly 290 pixels above the
// diamond's centre). The square lies at (origin_x, origin_y). One size per
// drawn width; up to width 114 it is the window's square alone.
struct RenderCanvas {
    int width = 260, height = 260;
    int origin_x = 0, origin_y = 0;
};

RenderCanvas render_canvas_for_width(int drawn_width);
// The widest a run's tiles are drawn, by its kind's width rule (an unlocked
// house is drawn at widths up to 160 whatever the run's width).
int run_widest_drawn_width(const TileRequest& settings);
// For a run: the canvas of its widest drawn width.
RenderCanvas render_canvas(const TileRequest& settings);
