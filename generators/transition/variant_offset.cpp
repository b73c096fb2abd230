#include "generators/transition/variant_offset.hpp"

#include "canvas/mix_hash.hpp"

#include <algorithm>
#include <cmath>

namespace {
double smooth(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}
}  // namespace

VariantBlend::VariantBlend(std::uint64_t set_seed, int variant, int half_width, int still)
    : h_(half_width),
      still_(still),
      plain_(variant == 0),
      border_(mix_hash(set_seed ^ 0xb0bdeULL ^ static_cast<std::uint64_t>(variant) << 32), 4) {
    if (plain_) return;
    // The variants' places are the steps of a low-discrepancy sequence (the
    // plastic number's R2), the plain tile its first: whatever the number of
    // variants, their places cover the cell evenly, so a map of them keeps
    // none of the texture's stripes at the tile period, which places drawn at
    // random (or bunched) leave behind. B walks the sequence transposed.
    constexpr double steps[2] = {0.7548776662466927, 0.5698402909980532};
    for (int side = 0; side < 2; ++side) {
        const double u = variant * steps[side], v = variant * steps[1 - side];
        offsets_[side] = {64 * (u - std::floor(u)), 64 * (v - std::floor(v))};
    }
}

double VariantBlend::weight(int i, int j) const {
    if (plain_) return 0;
    const double edge = std::min({i, j, h_ - 1 - i, h_ - 1 - j});
    // Two steps from an edge are shared (a point one step in can cover an
    // edge pixel). Everything shared repeats at the tile period across a map,
    // so the variant's own reading takes over right after: its border wanders
    // by up to a 64th of the tile, differently in every variant, and the
    // blend is short, enough to show no ghost.
    const double wander = 0.5 * (1 + border_.at(static_cast<double>(i) / h_, static_cast<double>(j) / h_).value);
    const double start = std::min(2, still_) + wander * h_ / 64.0;
    return smooth((edge - start) / std::max(1.5, h_ / 48.0));
}

double VariantBlend::noise_share(double u, double v) const {
    if (plain_) return 0;
    const double edge = std::min({u, v, 1 - u, 1 - v}) * h_;
    return smooth((edge - still_) / std::max(2.0, 0.2 * h_ - still_));
}
