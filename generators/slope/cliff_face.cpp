#include "generators/slope/cliff_face.hpp"

#include "canvas/mix_hash.hpp"
#include "generators/common/shading.hpp"
#include "generators/slope/flat_diamond.hpp"
#include "generators/transition/point_shade.hpp"

#include <algorithm>
#include <cmath>

namespace {
// Two strata seams part the face into three beds, each seam wandering by
// about a tenth of the face's height along it.
constexpr double seams[2] = {0.34, 0.68};
constexpr double seam_wander = 0.1;
}  // namespace

CliffFace::CliffFace(const RasterImage& sheet, const SlopeTileSpec& spec, int half_width, int step)
    : sheet_(sheet),
      rock_(terrain_cell_origin(spec.face)),
      h_(half_width),
      step_(step),
      column0_(FlatDiamond(half_width).corner_x_left()),
      set_seed_(spec.set_seed),
      variant_(spec.variant),
      blend_(spec.set_seed, spec.variant, half_width, set_still_band),
      strata_(mix_hash(spec.set_seed ^ 0x5747a7aULL), 4) {}

Colour CliffFace::colour(int x, int k, GridPoint p, float ti, float tj) const {
    // Along the face, in pixels from the tile's left corner (the lattice
    // repeats every half width), slid by the variant inside the tile.
    const double slide = p.i >= 0 ? blend_.weight(p.i, p.j) * blend_.offset(1).u * h_ / 64.0 : 0.0;
    const double along = x - column0_ + slide;
    const double texels = 64.0 / h_;
    const int tx = static_cast<int>(std::floor(along * texels)), ty = static_cast<int>(std::floor((k - 1) * texels));
    const Colour texel = sheet_.colour_at(rock_.x + ((tx % 64) + 64) % 64, rock_.y + ((ty % 64) + 64) % 64);
    // The strata: a dark seam with a lit ledge over it.
    const double depth = static_cast<double>(k) / step_;
    double bed = 1.0;
    for (const double seam : seams) {
        const double at = seam + seam_wander * strata_.at(along / h_, seam).value;
        const double rows = (depth - at) * step_;
        if (rows >= -0.5 && rows < std::max(1.0, step_ / 16.0)) bed = 0.62;
        else if (rows >= -1.5 && rows < -0.5) bed = 1.12;
    }
    // Facing down the i axis, towards the slopes' light, is lit best.
    const double towards_light = (ti + 0.35 * tj) / 1.06;
    const double light = (0.74 + 0.26 * towards_light) * (1.0 - 0.32 * (k - 1) / std::max(1, step_ - 1));
    const float shade = p.i >= 0 ? set_point_shade(set_seed_, variant_, h_, p.i, p.j) : 0.75f;
    return scale_colour(texel, light * bed * (0.8 + 0.2 * shade));
}
