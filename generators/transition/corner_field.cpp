#include "generators/transition/corner_field.hpp"

#include "canvas/mix_hash.hpp"
#include "generators/transition/transition_set.hpp"

#include <algorithm>
#include <cmath>

namespace {
// The boundary wanders by about a fifth of the tile along a straight edge,
// yet never reaches a corner whose terrain the tile declares.
constexpr double edge_wander = 0.24;
// A variant moves the coast by a large share of the tile: its own few large
// blobs. The islands and specks that would leave are cleared afterwards
// (tile_regions.cpp).
constexpr double variant_wander = 0.34;
// A variant that owns its middle has no shared wander left there: its blobs
// reach further, so that any two variants' coasts part for most of the way.
constexpr double owned_wander = 0.41;
// Where the variant noise reaches full strength, from the nearest edge.
constexpr double variant_full_at = 0.22;

double ease(double t) { return t * t * (3 - 2 * t); }
double ease_slope(double t) { return 6 * t * (1 - t); }

std::uint64_t stream(std::uint64_t seed, std::uint64_t tag) { return mix_hash(seed * 0x100000001b3ULL ^ tag); }
}  // namespace

CornerField::CornerField(std::uint64_t set_seed, int mask, int variant)
    : top_(corner_terrain(mask, corner_top)),
      right_(corner_terrain(mask, corner_right)),
      bottom_(corner_terrain(mask, corner_bottom)),
      left_(corner_terrain(mask, corner_left)),
      coarse_(stream(set_seed, 1), 3),
      fine_(stream(set_seed, 2), 7),
      variant_(stream(set_seed, 0x1000 + static_cast<std::uint64_t>(variant) * 16 + mask), 3),
      own_coarse_(stream(set_seed, 0x2000 + static_cast<std::uint64_t>(variant) * 16 + mask), 3),
      own_fine_(stream(set_seed, 0x3000 + static_cast<std::uint64_t>(variant) * 16 + mask), 7),
      has_variant_(variant > 0) {}

FieldSample CornerField::at(double u, double v) const {
    // Outside the tile the blend holds its edge value (its slope across an
    // edge is zero there), a close guess at the neighbour's field.
    const double cu = std::clamp(u, 0.0, 1.0), cv = std::clamp(v, 0.0, 1.0);
    const double su = ease(cu), sv = ease(cv);
    FieldSample f;
    f.value = top_ * (1 - su) * (1 - sv) + right_ * su * (1 - sv) + left_ * (1 - su) * sv + bottom_ * su * sv;
    f.du = ease_slope(cu) * ((right_ - top_) * (1 - sv) + (bottom_ - left_) * sv);
    f.dv = ease_slope(cv) * ((left_ - top_) * (1 - su) + (bottom_ - right_) * su);

    const NoiseSample coarse = coarse_.at(u, v), fine = fine_.at(u, v);
    NoiseSample wander{0.7 * coarse.value + 0.3 * fine.value, 0.7 * coarse.du + 0.3 * fine.du,
                       0.7 * coarse.dv + 0.3 * fine.dv};

    NoiseSample share;  // the variant's weight and its slope
    if (has_variant_) {
        // Fade in from still_margin_ to variant_full_at, by the nearest edge.
        const double edges[4] = {u, v, 1 - u, 1 - v};
        const int nearest = static_cast<int>(std::min_element(edges, edges + 4) - edges);
        const double span = std::max(variant_full_at, still_margin_ + 0.12) - still_margin_;
        const double t = std::clamp((edges[nearest] - still_margin_) / span, 0.0, 1.0);
        const double dw = (t > 0 && t < 1 ? ease_slope(t) / span : 0.0) * (nearest < 2 ? 1 : -1);
        share = {ease(t), nearest % 2 == 0 ? dw : 0.0, nearest % 2 == 1 ? dw : 0.0};
    }
    if (share.value > 0 && owns_middle_) {
        const NoiseSample c = own_coarse_.at(u, v), n = own_fine_.at(u, v);
        const NoiseSample own{0.7 * c.value + 0.3 * n.value, 0.7 * c.du + 0.3 * n.du, 0.7 * c.dv + 0.3 * n.dv};
        const double w = share.value;
        wander = {(1 - w) * wander.value + w * own.value,
                  (1 - w) * wander.du + w * own.du + share.du * (own.value - wander.value),
                  (1 - w) * wander.dv + w * own.dv + share.dv * (own.value - wander.value)};
    }
    f.value += edge_wander * wander.value;
    f.du += edge_wander * wander.du;
    f.dv += edge_wander * wander.dv;

    if (share.value > 0) {
        const NoiseSample n = variant_.at(u, v);
        const double wander_by = owns_middle_ ? owned_wander : variant_wander;
        f.value += wander_by * share.value * n.value;
        f.du += wander_by * (share.value * n.du + share.du * n.value);
        f.dv += wander_by * (share.value * n.dv + share.dv * n.value);
    }
    return f;
}

double folded_corner_blend(int mask, double u, double v) {
    const double t = corner_terrain(mask, corner_top), r = corner_terrain(mask, corner_right);
    const double b = corner_terrain(mask, corner_bottom), l = corner_terrain(mask, corner_left);
    u = std::clamp(u, 0.0, 1.0), v = std::clamp(v, 0.0, 1.0);
    const bool top_bottom = t == b && r == l ? t >= r : r != l;
    if (top_bottom) return u > v ? t + (r - t) * u + (b - r) * v : t + (b - l) * u + (l - t) * v;
    return u + v < 1 ? t + (r - t) * u + (l - t) * v : r + l - b + (b - l) * u + (b - r) * v;
}
