#pragma once
#include "state/app_state.hpp"
#include "state/draw_request.hpp"
#include "canvas/drawing_context.hpp"
#include "canvas/random_source.hpp"

// The painters of the terrain's elements, one call per occupied cell (i, j)
// of the layout, each at the cell's point on the diamond. They know nothing
// of their neighbours: overlaps are settled by the order of the calls.
struct TerrainCanvas {
    DrawingContext& dc;
    const AppState& state;  // sheets, tables, geometry, terrain_water_texture
    RandomSource& random;
    int half_width = 0;
    WaterPhase water_phase{};  // of the pool's water
};

inline constexpr Colour crop_ear_colour = rgb(214, 176, 5);

// One blade two pixels wide, light with a darker left stroke, leaning a
// pixel either way; a crop also gets a two-pixel ear above its tip.
void draw_grass_blade(TerrainCanvas& canvas, int i, int j, int height, Colour colour, bool crops);

// A fan of 6 to 17 double strokes of one length, from up-right round to flat
// left.
void draw_bush(TerrainCanvas& canvas, int i, int j, Colour colour);

// A boulder sprite scaled to the tile, squashed, shaded and grained with
// noise; its black texels are transparent and cost no random draw.
void draw_boulder(TerrainCanvas& canvas, int i, int j);

// The pool's water: the unshaded texel of terrain_water_texture, moving with
// the canvas's water_phase.
void draw_pool_texel(TerrainCanvas& canvas, int i, int j);
