#pragma once
#include "generators/common/periodic_noise.hpp"

#include <cstdint>

// What makes variants differ at a distance: each variant reads its
// terrains' textures from its own place in the (seamless) texture cell, and
// its own large noise moves the coast and the bands. Along the edges every
// variant reads the shared place, so any variant joins any neighbour; the
// shared band's inner border wanders, so it draws no diamond.
struct TextureOffset {
    double u = 0, v = 0;  // texels, 0..64
};

class VariantBlend {
public:
    // `still` grid steps next to every edge are the same in every variant.
    VariantBlend(std::uint64_t set_seed, int variant, int half_width, int still);

    // The texture offset of side 0 (A) or 1 (B); zero for variant 0.
    TextureOffset offset(int side) const { return offsets_[side]; }
    // How much of the variant's own reading shows at grid point (i, j):
    // 0 in the shared band along the edges, 1 inside.
    double weight(int i, int j) const;
    // The variant's share of noise at (u, v) in tile units: 0 within the
    // still band, 1 from a fifth of the tile inwards.
    double noise_share(double u, double v) const;

private:
    int h_, still_;
    bool plain_;
    TextureOffset offsets_[2];
    PeriodicNoise border_;
};
