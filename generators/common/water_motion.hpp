#pragma once
#include "canvas/colour.hpp"
#include "canvas/raster_image.hpp"
#include "state/draw_request.hpp"

// Moving water. A water surface is a 64 x 64 texture cell squashed onto the
// tile diamond, and the textures are seamless, so the cell is periodic over
// the tile and over the whole map. Animation moves only where each point
// samples the cell: travelling waves of sway, a periodic function of the
// position in the cell and of the phase. It is the same function of the map
// position on every tile, so neighbours move in step, and it returns to the
// start after a whole loop, so the last frame leads into the first like any
// other. Each point keeps its texture choice and its shade: only the texels
// under it move.

// Where the cell is sampled, at this phase, for the point that samples it at
// (u, v) when still (in texels, 0..64).
struct CellPosition {
    double u = 0, v = 0;
};
CellPosition moving_position(double u, double v, const WaterPhase& phase);

// The cell at (x0, y0) of the sheet read at a fractional position, wrapped
// onto the cell and blended between the four nearest texels, so a point's
// colour changes smoothly as the sampling moves.
Colour smooth_cell_texel(const RasterImage& sheet, int x0, int y0, CellPosition at);

// The moving water texel for grid point (i, j) of an H x H grid sampled
// every `step` texels (64 / H).
Colour moving_water_texel(const RasterImage& sheet, int x0, int y0, int i, int j, float step, const WaterPhase& phase);

// The water texel for grid point (i, j) at this phase: still water reads the
// cell exactly as every textured surface does, moving water as above.
Colour water_texel(const RasterImage& sheet, int x0, int y0, int i, int j, float step, const WaterPhase& phase);
