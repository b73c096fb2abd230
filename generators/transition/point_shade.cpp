#include "generators/transition/point_shade.hpp"

#include "canvas/mix_hash.hpp"

#include <algorithm>

float set_point_shade(std::uint64_t set_seed, int variant, int half_width, int i, int j) {
    const bool near_edge = std::min({i, j, half_width - 1 - i, half_width - 1 - j}) < set_still_band;
    const std::uint64_t kept = near_edge ? 0 : static_cast<std::uint64_t>(variant);
    const std::uint64_t point = (kept << 40) ^ (static_cast<std::uint64_t>(i) << 20) ^ static_cast<std::uint64_t>(j);
    return static_cast<float>(static_cast<int>(mix_hash(set_seed ^ mix_hash(point)) % 50) / 100.0 + 0.5);
}
