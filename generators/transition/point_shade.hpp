#pragma once
#include <cstdint>

// Grid steps from an edge within which a point of a set's tile paints the
// same whatever the variant: the edge pixels and the inner points that
// overwrite some of them.
inline constexpr int set_still_band = 3;

// The per-point speckle every textured surface of a set gets (0.50..0.99),
// from a hash instead of the random stream: the same at a point of every
// tile of a set, so that a terrain shows the same pixels wherever no
// boundary is near, and a variant's speckle differs only away from its
// edges. Transition and slope sets share it, so their flat ground agrees.
float set_point_shade(std::uint64_t set_seed, int variant, int half_width, int i, int j);
