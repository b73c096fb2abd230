#pragma once
#include "canvas/surface.hpp"

// The shape of a transition tile's ground for its lighting maps, worked out
// beside the painter from the same field: the lower side (and water, at its
// level) flat at height 0; the upper side raised on a short slope across a
// band of its edge (a lip, a beach), and flat at the slope's top beyond it.
struct TransitionStep {
    double width = 1.0;  // the slope's band, in grid steps into the upper side
    double rise = 1.0;   // height gained along the ground, per unit of ground length
};

// The surface at a point `into_upper` grid steps into the upper side (negative:
// on the lower side), the upper side lying along (uphill_i, uphill_j) on the
// tile's i and j axes (any length).
Surface transition_relief(double into_upper, double uphill_i, double uphill_j, const TransitionStep& step);
