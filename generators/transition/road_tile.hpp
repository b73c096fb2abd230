#pragma once
#include "generators/transition/transition_set.hpp"

// A transition tile with a road's track (spec.road) of B's ground: the
// set's own tile with the track worn into it (road_paint.hpp). Over, the
// track alone whatever the mask, its worn edge partial alpha, so it lies on
// whatever ground a world puts below.
void draw_road_tile(TileContext& context, const TransitionTileSpec& spec);

