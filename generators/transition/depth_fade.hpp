#pragma once
#include "generators/common/periodic_noise.hpp"

#include <cstdint>

// Where two waters meet, how far one has turned into the other: the
// corners' depths blended flat on two triangles (folded_corner_blend, so
// the fade's lines run as straight as the coast's staircase of corners
// allows) with a gentle wander of the set's noise and, inside the tile, the
// variant's own, then eased over most of the tile. Deep water thus turns
// shallow over half a tile or more, with no line along the cells' corners.
// On an edge it follows that edge's two corners and the set's noise alone,
// so the fade runs on into the neighbour.
class DepthFade {
public:
    DepthFade(std::uint64_t set_seed, int mask, int variant, int half_width);
    // The share of terrain B at grid point (i, j), 0..1.
    double share_of_b(int i, int j) const;

private:
    int mask_, h_;
    bool has_variant_;
    PeriodicNoise wander_, own_;
};
