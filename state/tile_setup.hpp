#pragma once
#include "state/tile_context.hpp"
#include "canvas/colour.hpp"

// Outline colours generators hand to begin_tile.
inline constexpr Colour tile_area_colour = rgb(0, 200, 0);
inline constexpr Colour mountain_tile_area_colour = rgb(50, 150, 0);

// The state's geometry from the "Iso width:" and "House shape:" controls
// (or the draw request's width). set_house_size and set_half_width set the
// iso width and the value they return; set_tile_geometry sets all of it, the
// diamond's and the house's, whatever the kind.
int set_house_size(TileContext& context);
int set_half_width(TileContext& context);
void set_tile_geometry(TileContext& context);

// Sets roof_side from the "Roof shape:" combo box and returns it.
int set_roof_side(TileContext& context);

// Clears the whole canvas to the background colour (black in the window)
// and, with "Draw tile area" checked, outlines the tile diamond in
// outline_colour.
void begin_tile(TileContext& context, Colour outline_colour);

// Copies the window's 260 x 260 square of the canvas into the display image
// and shows it.
void show_tile(TileContext& context);
