#pragma once
#include "state/tile_context.hpp"

// How far a roof's ridge stands above its eaves for a slope `depth` pixels
// deep: the ridge is drawn depth up and depth / 2 across from the eave, half
// the house's depth back, so three quarters of it is rise.
constexpr double roof_rise(int depth) { return 0.75 * depth; }

// The single roof slope over the left (side 0) or right (side 1) front wall.
void draw_roof(TileContext& context, int x1, int y1, int x2, int y2, int x3, int house_height, int side, int cell);
