#include "generators/transition/depth_fade.hpp"

#include "canvas/mix_hash.hpp"
#include "generators/transition/corner_field.hpp"
#include "generators/transition/transition_set.hpp"

#include <algorithm>
#include <cmath>

namespace {
// The wander rises and falls slower than the blend, and dies away towards
// the corners, where a tile's depth must be its corner's own.
constexpr double set_wander = 0.1, variant_wander = 0.1;
constexpr double corner_calm = 0.3;  // tile units from a corner where the wander is whole
// Grid steps from a corner that show the corner's water alone, and over
// which it eases into the fade.
constexpr double pure_corner = 6, corner_ease = 6;
// The blend's values over which the fade runs, evenly: nearly corner to
// corner, as wide as one tile allows.
constexpr double fade_from = 0.02, fade_to = 0.98;
// Where the variant's wander is whole, from the nearest edge (tile units).
constexpr double variant_from = 0.08, variant_full = 0.3;

double ease(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}
std::uint64_t stream(std::uint64_t seed, std::uint64_t tag) { return mix_hash(seed * 0x100000001b3ULL ^ tag); }
}  // namespace

DepthFade::DepthFade(std::uint64_t set_seed, int mask, int variant, int half_width)
    : mask_(mask),
      h_(half_width),
      has_variant_(variant > 0),
      wander_(stream(set_seed, 0xde1), 2),
      own_(stream(set_seed, 0xde200 + static_cast<std::uint64_t>(variant) * 16 + mask), 2) {}

double DepthFade::share_of_b(int i, int j) const {
    if (mask_ == 0 || mask_ == 15) return mask_ == 15 ? 1.0 : 0.0;
    const double u = static_cast<double>(i) / h_, v = static_cast<double>(j) / h_;
    const double corner = std::min({std::hypot(u, v), std::hypot(1 - u, v), std::hypot(u, 1 - v),
                                    std::hypot(1 - u, 1 - v)});
    double wander = set_wander * wander_.at(u, v).value;
    if (has_variant_) {
        const double edge = std::min({u, v, 1 - u, 1 - v});
        wander += variant_wander * ease((edge - variant_from) / (variant_full - variant_from)) * own_.at(u, v).value;
    }
    const double f = folded_corner_blend(mask_, u, v) + wander * ease(corner / corner_calm);
    const double share = std::clamp((f - fade_from) / (fade_to - fade_from), 0.0, 1.0);
    // Next to a corner the corner's own water, whole, easing into the fade:
    // where a map's tiles overlap by a pixel (round their corners, at odd
    // tile heights) each lays the same opaque or clear pixel, so the order
    // they come in changes nothing.
    const double steps = corner * h_;
    if (steps >= pure_corner + corner_ease) return share;
    const bool right = u >= 0.5, down = v >= 0.5;
    const double own = corner_terrain(mask_, right ? (down ? corner_bottom : corner_right)
                                                   : (down ? corner_left : corner_top));
    return own + (share - own) * ease((steps - pure_corner) / corner_ease);
}
