#pragma once
#include "canvas/surface.hpp"

// The light a raised face is shaded by: the mountain relief's, coming from
// the side of the tile's i axis (the right corner's), so that ground rising
// towards the right corner darkens as the relief's rock does; turned a little
// towards j so that ground facing the viewer on either side is lit.

// The world direction of the normal of ground whose height rises by
// `per_i` and `per_j` pixels a grid step along the diamond's axes.
WorldDirection ground_normal(double per_i, double per_j);

// The share of its flat colour a face keeps under that light: 1 for flat
// ground, more facing the light, less turned away.
double face_light(const WorldDirection& normal);
