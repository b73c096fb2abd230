#pragma once
#include "export/render_settings.hpp"

// The canvas brannoc-render draws a tile on: the window's 260 x 260 square
// with room around it for all a tile can paint past that square's edges (a
// broadleaf crown at width 200 reaches nearly 290 pixels above the
// diamond's centre). The square lies at (origin_x, origin_y). One size per
// drawn width; up to width 114 it is the window's square alone.
struct RenderCanvas {
    int width = 260, height = 260;
    int origin_x = 0, origin_y = 0;
};

// The most a tile drawn at `drawn_width` can paint around the diamond's
// centre, from the generators' geometry: tree crowns reach up about 1.46
// widths and sideways 0.83, ruins' rubble right 0.7, fences down 0.3.
struct PaintReach {
    int up = 0, down = 0, side = 0;
};
PaintReach paint_reach(int drawn_width);

RenderCanvas render_canvas_for_width(int drawn_width);
// The widest a run's tiles are drawn: an unlocked house is drawn at widths
// up to 160 whatever the run's width.
int widest_drawn_width(const RenderSettings& settings);
// For a run: the canvas of its widest drawn width.
RenderCanvas render_canvas(const RenderSettings& settings);
