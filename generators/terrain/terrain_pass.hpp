#pragma once
#include "state/tile_context.hpp"
#include "canvas/drawing_context.hpp"

// The two painting passes of a terrain tile, over the layout in grass_mask.

// Ground is never painted pure black, the colour of "nothing here".
inline constexpr Colour darkest_ground = rgb(10, 10, 10);

// The ground cell squashed onto the diamond and speckled point by point; with
// "Swamp" ticked about seven points in ten take the water cell instead.
void paint_ground(TileContext& context, DrawingContext& dc, int half_width);

struct BladeSettings {
    int height = 0;
    bool crops = false;
};

// Every occupied cell of the grid i, j in 0..H by its painter, row by row
// from the back so nearer elements cover farther ones. Cells beyond H are
// never painted.
void paint_terrain_elements(TileContext& context, DrawingContext& dc, int half_width, const BladeSettings& blades);
