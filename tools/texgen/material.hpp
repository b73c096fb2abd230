#pragma once
#include "colour_math.hpp"
#include "det_math.hpp"
#include "hash_random.hpp"

// Small shared steps of the material recipes.
namespace texgen {

// A feature's own colour (one brick, stone, plank, tile): brightness from
// lo..hi and a small hue nudge, both from the hash h.
inline Col feature_tint(Col base, std::uint64_t h, double lo, double hi, double hue = 0.06) {
    double f = lo + (hi - lo) * unit_from_hash(h);
    double n = (unit_from_hash(mix_hash(h)) - 0.5) * 2.0 * hue;
    return {base.r * f * (1.0 + n), base.g * f, base.b * f * (1.0 - n)};
}

// A per-pixel hash in 0..1, for sparse pits and flecks.
inline double pixel_hash(std::uint64_t seed, int x, int y, int period) {
    return hash_unit(seed, wrap(x, period), wrap(y, period));
}

}  // namespace texgen

namespace texgen {

// The k-th independent value in 0..1 drawn from one feature's hash.
inline double sub_unit(std::uint64_t h, int k) {
    return unit_from_hash(mix_hash(h + 0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(k)));
}

}  // namespace texgen
