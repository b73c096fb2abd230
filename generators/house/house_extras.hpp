#pragma once
#include "state/tile_context.hpp"

// The fence style, then flowers and fences as their boxes ask.
void draw_house_extras(TileContext& context);
