#include "generators/slope/slope_channel.hpp"

#include "canvas/mix_hash.hpp"
#include "generators/common/shading.hpp"
#include "generators/common/water_flow.hpp"
#include "generators/common/water_motion.hpp"
#include "generators/transition/point_shade.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr Colour foam_colour = rgb(232, 240, 236);

Colour mix(Colour a, Colour b, double t) {
    const auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return rgb(m(red(a), red(b)), m(green(a), green(b)), m(blue(a), blue(b)));
}
}  // namespace

SlopeChannel::SlopeChannel(const RasterImage& sheet, const WaterPhase& phase, const SlopeTileSpec& spec,
                           int half_width)
    : sheet_(sheet),
      phase_(phase),
      spec_(spec),
      h_(half_width),
      water_cell_(terrain_cell_origin(spec.water)),
      foam_(mix_hash(spec.set_seed ^ 0x7261706964ULL), 12) {
    if (spec.channel.any()) shape_.emplace(spec.channel, 0, 0, channel_banks(half_width));
    keep_off_ = channel_banks(half_width).keep_off;
}

double SlopeChannel::depth(GridPoint p, ChannelShape::Place& place) const {
    const double u = static_cast<double>(p.i) / h_, v = static_cast<double>(p.j) / h_;
    place = shape_->at(u, v);
    return std::min(place.depth, shape_->free_distance(u, v) - keep_off_) * h_;
}

bool SlopeChannel::in_water(GridPoint p) const {
    if (!shape_ || p.i < 0) return false;
    ChannelShape::Place place;
    return depth(p, place) >= 0;
}

Colour SlopeChannel::water(GridPoint p, const ChannelShape::Place& place) const {
    // The speckle every channel's water shares, as on flat ground.
    const auto shade = [&](int i, int j) { return set_point_shade(spec_.set_seed, 0, h_, i, j); };
    const ChannelShape::Run run = shape_->run(place);
    std::array<int, 2> drift = run.second_share < 0.5 ? run.first : run.second;
    Colour c;
    if (phase_.still()) {
        c = scale_colour(water_texel(sheet_, water_cell_.x, water_cell_.y, p.i, p.j, 64.0f / h_, phase_),
                         shade(p.i, p.j));
    } else {
        const auto drifting = [&](std::array<int, 2> d) {
            return FlowFrame(phase_, h_, CellDrift{d[0], d[1]}).colour(sheet_, p.i, p.j, [&](GridPoint from) {
                return CarriedWater{water_cell_.x, water_cell_.y, shade(from.i, from.j)};
            });
        };
        c = drifting(run.first);
        if (run.second_share > 0) c = mix(c, drifting(run.second), run.second_share);
    }
    // Foam in streaks, carried down with the water; none near the edges,
    // where the channel meets its flat neighbours.
    const double u = static_cast<double>(p.i) / h_, v = static_cast<double>(p.j) / h_;
    const double edge = std::min({u, v, 1 - u, 1 - v});
    const double fade = std::clamp((edge - 0.12) / 0.15, 0.0, 1.0);
    if (fade <= 0) return c;
    const double t = phase_.still() ? 0.0 : static_cast<double>(phase_.frame % phase_.frames) / phase_.frames;
    const double fu = u - drift[0] * t, fv = v - drift[1] * t;
    // Stretched along the flow: the noise read slower along it than across.
    const double along = drift[0] != 0 ? 0.5 : 1.0, across = drift[1] != 0 ? 0.5 : 1.0;
    const double n = foam_.at(fu * along + 0.31, fv * across + 0.17).value;
    const double foam = std::clamp((n - 0.2) / 0.3, 0.0, 1.0) * fade;
    return mix(c, foam_colour, 0.6 * foam);
}

Colour SlopeChannel::ground(GridPoint p, Colour ground, double light) const {
    if (!shape_ || p.i < 0) return ground;
    ChannelShape::Place place;
    const double d = depth(p, place);
    if (d >= 0) return scale_colour(water(p, place), std::min(1.0, 0.15 + 0.85 * light));
    // The wet bank darkens the ground most at the water's edge.
    const double reach = channel_banks(h_).reach * h_;
    if (-d >= reach) return ground;
    const double wet = 1 + d / reach, dark = 0.38 * wet * wet;
    return rgb_clamped(static_cast<int>(std::lround(red(ground) * (1 - dark))),
                       static_cast<int>(std::lround(green(ground) * (1 - dark * 0.95))),
                       static_cast<int>(std::lround(blue(ground) * (1 - dark * 0.8))));
}

std::optional<Colour> SlopeChannel::fall(int x, int k, int step, GridPoint p) const {
    if (!in_water(p)) return std::nullopt;
    // Streaks falling down the face: each column its own, moving a whole
    // face's height and more a loop, lighter towards the foot.
    const double t = phase_.still() ? 0.0 : static_cast<double>(phase_.frame % phase_.frames) / phase_.frames;
    const std::uint64_t column = mix_hash(spec_.set_seed ^ static_cast<std::uint64_t>(x + 4096));
    const double offset = static_cast<double>(column % 1000) / 1000.0;
    const double wave = 0.5 + 0.5 * std::sin(2 * 3.141592653589793 * (static_cast<double>(k) / std::max(1, step) + offset - 2 * t));
    const Colour water = sheet_.colour_at(water_cell_.x + ((x % 64) + 64) % 64, water_cell_.y + (k * 7) % 64);
    const double down = static_cast<double>(k) / std::max(1, step);
    return mix(scale_colour(water, 1.1), foam_colour, std::clamp(0.25 + 0.35 * wave + 0.3 * down, 0.0, 1.0));
}

Colour SlopeChannel::landing(GridPoint p, Colour water, int rows) const {
    const double t = phase_.still() ? 0.0 : static_cast<double>(phase_.frame % phase_.frames) / phase_.frames;
    const double n = foam_.at(static_cast<double>(p.i) / h_ + t, static_cast<double>(p.j) / h_ - t).value;
    return mix(water, foam_colour, std::clamp(0.55 - 0.12 * rows + 0.3 * n, 0.0, 0.9));
}
