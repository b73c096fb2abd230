#pragma once
#include "generators/transition/transition_set.hpp"

// A wooden bridge along spec.road's two opposite edges: planks across the
// cell between side beams, rails on posts over the middle, a shadow cast on
// the water below. Its deck meets each edge at the road's track width, so
// the road on the banks runs onto it. Over, the bridge alone (its shadow
// partial alpha), to lie on the river's tile.
void draw_bridge_tile(TileContext& context, const TransitionTileSpec& spec);
