#include "generators/slope/cliff_outline.hpp"

#include "canvas/mix_hash.hpp"
#include "generators/transition/corner_field.hpp"
#include "generators/transition/tile_regions.hpp"

#include <algorithm>
#include <cmath>

namespace {
// The line wanders by about a tenth of the tile, never near a corner's
// level (which the corners' values keep well away from a half), and gently:
// the wander rises and falls far slower than the blend does across the
// tile, so that the line never doubles back down a column, which would
// stand a sliver of face on the far side of a plateau.
constexpr double set_wander = 0.12;
// A variant bends it further inside the tile, so that a long cliff shows no
// turn repeated at every tile.
constexpr double variant_wander = 0.12;
// Where the variant's wander is whole, from the nearest edge (tile units).
constexpr double variant_from = 0.08, variant_full = 0.3;

double ease(double t) { return t * t * (3 - 2 * t); }
std::uint64_t stream(std::uint64_t seed, std::uint64_t tag) { return mix_hash(seed * 0x100000001b3ULL ^ tag); }

// Specks of either side smaller than this (grid steps across) that reach no
// edge, and one-point teeth, go to the side round them.
void clear_specks(std::vector<std::uint8_t>& high, int h) {
    const int extent = std::max(3, h / 6);
    clear_small_regions(high, h, extent);
    for (std::uint8_t& s : high) s = !s;
    clear_small_regions(high, h, extent);
    for (std::uint8_t& s : high) s = !s;
    std::vector<std::uint8_t> next = high;
    for (int j = 1; j + 1 < h; ++j)
        for (int i = 1; i + 1 < h; ++i) {
            int same = 0;
            for (int dj = -1; dj <= 1; ++dj)
                for (int di = -1; di <= 1; ++di)
                    same += (di != 0 || dj != 0) && high[(j + dj) * h + i + di] == high[j * h + i];
            if (same <= 2) next[j * h + i] = !high[j * h + i];
        }
    high = std::move(next);
}
}  // namespace

CliffOutline::CliffOutline(std::uint64_t set_seed, int mask, int variant, int half_width)
    : h_(half_width),
      mask_(mask),
      has_variant_(variant > 0),
      wander_(stream(set_seed, 0xc1), 2),
      own_(stream(set_seed, 0xc300 + static_cast<std::uint64_t>(variant) * 16 + mask), 2) {
    high_.resize(static_cast<std::size_t>(h_) * h_);
    for (int j = 0; j < h_; ++j)
        for (int i = 0; i < h_; ++i)
            high_[static_cast<std::size_t>(j) * h_ + i] =
                value(static_cast<double>(i) / h_, static_cast<double>(j) / h_) >= 0.5;
    clear_specks(high_, h_);
}

double CliffOutline::variant_share(double u, double v) const {
    if (!has_variant_) return 0;
    const double edge = std::min({u, v, 1 - u, 1 - v});
    return ease(std::clamp((edge - variant_from) / (variant_full - variant_from), 0.0, 1.0));
}

double CliffOutline::value(double u, double v) const {
    double f = folded_corner_blend(mask_, u, v);
    f += set_wander * wander_.at(u, v).value;
    if (const double share = variant_share(u, v); share > 0) f += variant_wander * share * own_.at(u, v).value;
    return f;
}

void CliffOutline::uphill(int i, int j, double& du, double& dv) const {
    const double u = static_cast<double>(i) / h_, v = static_cast<double>(j) / h_, d = 1.0 / h_;
    du = (value(u + d, v) - value(u - d, v)) / (2 * d);
    dv = (value(u, v + d) - value(u, v - d)) / (2 * d);
}
