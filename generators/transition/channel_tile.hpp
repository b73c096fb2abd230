#pragma once
#include "generators/transition/transition_set.hpp"

// A transition tile with a river's channel (spec.channel) of A's water
// through B's land: the set's own tile with the channel cut into its land,
// water between two wet banks (generators/common/channel_shape.hpp). The
// channel stops at the shore the set's tile draws for its water corners, so
// a river runs into the sea or a lake, or out of one, where the tile holds
// water. Over, the tile paints only the channel and its banks, the banks as
// a darkening laid over whatever land lies below.
//
// With moving water the channel's water drifts the way the river runs,
// straight across every edge it crosses and turning between them, a whole
// cell a loop, so it joins the channel of the next tile in every frame.
void draw_channel_tile(TileContext& context, const TransitionTileSpec& spec);
