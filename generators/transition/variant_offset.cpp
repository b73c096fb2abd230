#include "generators/transition/variant_offset.hpp"

#include <algorithm>
#include <cmath>

namespace {
double smooth(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}
double unit(std::uint64_t h) { return static_cast<double>(h >> 11) / static_cast<double>(1ULL << 53); }
}  // namespace

VariantBlend::VariantBlend(std::uint64_t set_seed, int variant, int half_width, int still)
    : h_(half_width),
      still_(still),
      plain_(variant == 0),
      border_(mix_hash(set_seed ^ 0xb0bdeULL), 4) {
    for (int side = 0; side < 2; ++side) {
        if (plain_) continue;
        // At least a quarter of the cell away from the shared reading, in some direction.
        const std::uint64_t h =
            mix_hash(set_seed ^ mix_hash(0x0ff5e7ULL + static_cast<std::uint64_t>(variant) * 2 + side));
        offsets_[side] = {16 + 32 * unit(h), 16 + 32 * unit(mix_hash(h))};
    }
}

double VariantBlend::weight(int i, int j) const {
    if (plain_) return 0;
    const double edge = std::min({i, j, h_ - 1 - i, h_ - 1 - j});
    // Two steps from an edge are shared (a point one step in can cover an
    // edge pixel); the border wanders by up to a 32nd of the tile beyond,
    // and the blend takes another, short enough to show no ghost.
    const double wander = 0.5 * (1 + border_.at(static_cast<double>(i) / h_, static_cast<double>(j) / h_).value);
    const double start = std::min(2, still_) + wander * h_ / 32.0;
    return smooth((edge - start) / std::max(1.5, h_ / 32.0));
}

double VariantBlend::noise_share(double u, double v) const {
    if (plain_) return 0;
    const double edge = std::min({u, v, 1 - u, 1 - v}) * h_;
    return smooth((edge - still_) / std::max(2.0, 0.2 * h_ - still_));
}
