#pragma once
#include "state/tile_context.hpp"

// The entry point of each tab's generator: draws one whole random tile on the
// canvas and ends with show_tile.
void draw_house_tile(TileContext& context);
void draw_tree_tile(TileContext& context);
void draw_terrain_tile(TileContext& context);
void draw_mountain_tile(TileContext& context);
void draw_water_tile(TileContext& context);
