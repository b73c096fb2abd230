#include "generators/transition/channel_tile.hpp"

#include "canvas/drawing_context.hpp"
#include "canvas/mix_hash.hpp"
#include "generators/common/channel_shape.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "generators/common/periodic_noise.hpp"
#include "generators/common/water_flow.hpp"
#include "generators/transition/over_matte.hpp"
#include "generators/transition/point_shade.hpp"
#include "generators/transition/shore_paint.hpp"
#include "generators/transition/transition_texels.hpp"
#include "state/tile_setup.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace {
class ChannelPainter {
public:
    ChannelPainter(const RasterImage& sheet, const WaterPhase& phase, const TransitionTileSpec& spec, int half_width)
        : sheet_(sheet),
          phase_(phase),
          spec_(spec),
          h_(half_width),
          bands_(bands_for(half_width)),
          shape_(spec.channel, ~spec.mask & 15, spec.variant, channel_banks(half_width)),
          water_cell_(terrain_cell_origin(spec.a)),
          land_(sheet, terrain_cell_origin(spec.b)),
          width_noise_(mix_hash(spec.set_seed ^ 0xc4a7ULL), 4),
          style_{false, spec.b.kind == TerrainKind::rock, terrain_mean_colour(sheet, spec.b)} {
        keep_off_ = channel_banks(half_width).keep_off;
        if (spec.mask != 15) {
            TransitionTileSpec plain = spec;
            plain.channel = {};
            shore_ = transition_distances(plain, half_width);
        }
    }

    // How far into the channel point (i, j) lies, in grid steps; nullopt
    // where the set's own tile holds water.
    std::optional<double> depth(int i, int j, ChannelShape::Place& place) const {
        if (!shore_.empty() && shore_[static_cast<std::size_t>(j) * h_ + i] < 0) return std::nullopt;
        const double u = static_cast<double>(i) / h_, v = static_cast<double>(j) / h_;
        place = shape_.at(u, v);
        return std::min(place.depth, shape_.free_distance(u, v) - keep_off_) * h_;
    }

    // The point over `below` (the land under the channel), and whether it
    // paints anything there.
    std::optional<Painted> paint(int i, int j, double depth, const ChannelShape::Place& place, Colour below) const {
        const double width = std::clamp(0.5 + 0.6 * width_noise_.at(static_cast<double>(i) / h_, static_cast<double>(j) / h_).value, 0.0, 1.0);
        if (depth >= 0) return shore_water(style_, bands_, depth, width, 0, water(i, j, place));
        const Painted bank = shore_land(style_, bands_, -depth, width, below);
        if (bank.label == BandLabel::upper) return std::nullopt;
        return bank;
    }

    Colour land_texel(int i, int j) const {
        return transition_land_texel(land_, h_, i, j, set_point_shade(spec_.set_seed, spec_.variant, h_, i, j), {});
    }

private:
    // Every channel shares the water's speckle, as the plain tile's: the
    // rivers of neighbouring cells carry the same water.
    float shade(int i, int j) const { return set_point_shade(spec_.set_seed, 0, h_, i, j); }

    Colour water(int i, int j, const ChannelShape::Place& place) const {
        if (phase_.still())
            return transition_water_texel(sheet_, water_cell_, h_, i, j, shade(i, j), phase_, {});
        const ChannelShape::Run run = shape_.run(place);
        const Colour first = drifting(run.first, i, j);
        if (run.second_share <= 0) return first;
        return mix_colour(first, drifting(run.second, i, j), run.second_share);
    }

    Colour drifting(std::array<int, 2> drift, int i, int j) const {
        const CellDrift d{drift[0], drift[1]};
        auto found = frames_.find({d.u, d.v});
        if (found == frames_.end()) found = frames_.emplace(std::pair(d.u, d.v), FlowFrame(phase_, h_, d)).first;
        return found->second.colour(sheet_, i, j, [&](GridPoint from) {
            return CarriedWater{water_cell_.x, water_cell_.y, shade(from.i, from.j)};
        });
    }

    const RasterImage& sheet_;
    const WaterPhase& phase_;
    const TransitionTileSpec& spec_;
    int h_;
    Bands bands_;
    ChannelShape shape_;
    SheetPoint water_cell_;
    EvenTexture land_;
    PeriodicNoise width_noise_;
    ShoreStyle style_;
    double keep_off_ = 0;
    std::vector<float> shore_;
    mutable std::map<std::pair<int, int>, FlowFrame> frames_;
};
}  // namespace

void draw_channel_tile(TileContext& context, const TransitionTileSpec& spec) {
    TransitionTileSpec plain = spec;
    plain.channel = {};
    if (spec.over) {
        set_tile_geometry(context);
        begin_tile(context, tile_area_colour);
    } else {
        draw_transition_tile(context, plain);  // the set's tile, the channel cut into it below
    }
    const int half_width = context.state.geometry.half_width;
    const ChannelPainter painter(context.state.ground_sheet.image, context.request.water_phase, spec, half_width);
    DrawingContext dc(context.state.canvas, context.request.surfaces);
    for (int i = 0; i < half_width; ++i)
        for (int j = 0; j < half_width; ++j) {
            ChannelShape::Place place;
            const std::optional<double> depth = painter.depth(i, j, place);
            if (!depth || *depth < -4.0 * half_width) continue;
            const CanvasPoint at = diamond_pixel(half_width, i, j);
            Colour colour;
            if (spec.over) {
                // The banks darken any land: their coverage is found over
                // black and white, as an over tile's edges are.
                const Colour land = painter.land_texel(i, j);
                const std::optional<Painted> p = painter.paint(i, j, *depth, place, land);
                if (!p) continue;
                const OverPixel pixel =
                    *depth >= 0 ? OverPixel{p->colour, 255}
                                : matte_over(painter.paint(i, j, *depth, place, rgb(0, 0, 0))->colour,
                                             painter.paint(i, j, *depth, place, rgb(255, 255, 255))->colour,
                                             p->colour, land);
                colour = lay_over(context.request.background, pixel);
            } else {
                const std::optional<Painted> p = painter.paint(i, j, *depth, place, dc.point(at.x, at.y));
                if (!p) continue;
                colour = p->colour;
            }
            if (dc.mapping_surfaces()) dc.reuse_surface(0);
            dc.plot(at.x, at.y, colour);
            dc.plot(at.x + 1, at.y, colour);
        }
    show_tile(context);
}
