#include "generators/transition/transition_set.hpp"

#include "state/tile_setup.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "canvas/drawing_context.hpp"
#include "canvas/mix_hash.hpp"
#include "generators/transition/corner_field.hpp"
#include "generators/transition/depth_fade.hpp"
#include "generators/transition/over_matte.hpp"
#include "generators/common/periodic_noise.hpp"
#include "generators/transition/point_shade.hpp"
#include "generators/transition/channel_tile.hpp"
#include "generators/transition/bridge_tile.hpp"
#include "generators/transition/road_tile.hpp"
#include "generators/transition/tile_regions.hpp"
#include "generators/transition/transition_relief.hpp"
#include "generators/transition/edge_paint.hpp"
#include "generators/transition/shore_paint.hpp"
#include "generators/transition/transition_texels.hpp"
#include "generators/transition/variant_offset.hpp"
#include "generators/common/water_flow.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace {
constexpr int still_band = set_still_band;

// Swamp and lily-pond water (water cells 4 and 7) lie still: no foam.
bool foams(const TransitionTerrain& t) { return t.kind == TerrainKind::water && t.cell != 4 && t.cell != 7; }

int height_of(TerrainKind kind) { return kind == TerrainKind::water ? 0 : kind == TerrainKind::ground ? 1 : 2; }

// A variant's own noise starts just past the points that paint the edge
// pixels; those keep the set's distances, and the variant's take over within
// a few steps (tile_regions.hpp), so its coast runs its own course almost
// from edge to edge.
TileRegions regions_for(const TransitionTileSpec& spec, int half_width, int reach) {
    const CornerField shared(spec.set_seed, spec.mask, 0);
    if (spec.variant == 0) return TileRegions(shared, half_width, still_band, reach);
    CornerField own(spec.set_seed, spec.mask, spec.variant);
    own.set_still_margin(static_cast<double>(still_band) / half_width);
    own.set_variant_owns_middle(true);
    return TileRegions(shared, own, half_width, still_band, reach, std::max(2.0, half_width / 12.0));
}

class TransitionPainter {
public:
    TransitionPainter(const RasterImage& sheet, const WaterPhase& phase, const TransitionTileSpec& spec, int half_width)
        : sheet_(sheet),
          phase_(phase),
          spec_(spec),
          h_(half_width),
          bands_(bands_for(half_width)),
          reach_(band_reach(bands_)),
          blend_(spec.set_seed, spec.variant, half_width, still_band),
          fade_(spec.set_seed, spec.mask, spec.variant, half_width),
          width_noise_(mix_hash(spec.set_seed ^ 0x3a7eULL), 4),
          foam_noise_(mix_hash(spec.set_seed ^ 0xf0a3ULL), 6),
          variant_noise_(mix_hash(spec.set_seed ^ (0x7a21ULL + static_cast<std::uint64_t>(spec.variant))), 5) {
        if (spec.mask != 0 && spec.mask != corner_masks - 1) regions_.emplace(regions_for(spec, half_width, reach_));
        if (phase.flows()) flow_ = shared_flow_frame(phase, half_width);
        cells_[0] = terrain_cell_origin(spec.a);
        cells_[1] = terrain_cell_origin(spec.b);
        // Every point's speckle, once: flowing water reads the shades of
        // the points it passes many times over for every point it paints.
        shades_.resize(static_cast<std::size_t>(half_width) * half_width);
        for (int j = 0; j < half_width; ++j)
            for (int i = 0; i < half_width; ++i)
                shades_[static_cast<std::size_t>(j) * half_width + i] =
                    set_point_shade(spec.set_seed, spec.variant, half_width, i, j);
        for (int side = 0; side < 2; ++side)
            if ((side == 0 ? spec.a : spec.b).kind == TerrainKind::rock) {
                // Rock through a warp: the set's along the edges, the variant's own inside.
                land_[side] = EvenTexture(sheet_, cells_[side], std::make_shared<RockWarp>(spec.set_seed));
                own_land_[side] = EvenTexture(
                    sheet_, cells_[side],
                    std::make_shared<RockWarp>(mix_hash(spec.set_seed) + static_cast<std::uint64_t>(spec.variant)));
            } else if ((side == 0 ? spec.a : spec.b).kind != TerrainKind::water) {
                land_[side] = own_land_[side] = EvenTexture(sheet_, cells_[side]);
            }
        const int ha = height_of(spec.a.kind), hb = height_of(spec.b.kind);
        upper_ = ha > hb ? 0 : 1;
        if (ha != hb) level_ = std::min(ha, hb) == 0 ? Level::shore : Level::step;
        else level_ = ha == 0 ? Level::depth : Level::level;
        if (level_ == Level::shore) {
            const TransitionTerrain& land = upper_ == 0 ? spec.a : spec.b;
            style_ = {foams(upper_ == 0 ? spec.b : spec.a), land.kind == TerrainKind::rock,
                      terrain_mean_colour(sheet_, land)};
            if (style_.foam) find_foam();
        }
    }

    // `a_texel`, when given, stands in for terrain A's texel everywhere;
    // `b_texel`, when given, keeps B's once read, for the next paint of
    // the same point. `plain`, when given, learns which side's texel the
    // point shows as it is, untouched by any band (0 A, 1 B), or -1: which
    // it is depends on where the point lies, never on the texels.
    Painted paint(int i, int j, std::optional<Colour> a_texel = std::nullopt,
                  std::optional<Colour>* b_texel = nullptr, int* plain = nullptr) const {
        const double d = distance(i, j);
        const double into_upper = upper_ == 1 ? d : -d;
        const float shade = shade_at(i, j);
        const double u = static_cast<double>(i) / h_, v = static_cast<double>(j) / h_;
        const auto side = [&](int s) {
            if (s == 0 && a_texel) return *a_texel;
            if (s == 1 && b_texel) return b_texel->has_value() ? **b_texel : **b_texel = texel(s, i, j, shade);
            return texel(s, i, j, shade);
        };
        int shown = -1;
        // A band's painting keeps its side's label only where it leaves the texel as it is.
        const auto labelled = [&](Painted painted) {
            if (painted.label == BandLabel::upper) shown = upper_;
            if (painted.label == BandLabel::lower) shown = 1 - upper_;
            return painted;
        };
        const Painted painted = [&]() -> Painted {
            switch (level_) {
                case Level::shore: {
                    const double width = noise01(width_noise_, u, v);
                    if (into_upper >= 0) return labelled(shore_land(style_, bands_, into_upper, width, side(upper_)));
                    const bool foam = style_.foam && foam_[static_cast<std::size_t>(j) * h_ + i];
                    return labelled(shore_water(style_, bands_, -into_upper, width,
                                                foam ? noise01(foam_noise_, u, v, 0.37) : 0, side(1 - upper_)));
                }
                case Level::step:
                    if (into_upper >= bands_.lip) return labelled({side(upper_), BandLabel::upper});
                    if (into_upper < -bands_.shadow) return labelled({side(1 - upper_), BandLabel::lower});
                    return labelled(step_edge(bands_, into_upper, side(upper_), side(1 - upper_)));
                case Level::depth: {
                    // Two waters: the fade over most of the tile, not a band along the boundary.
                    const double b = fade_.share_of_b(i, j), up = upper_ == 1 ? b : 1 - b;
                    if (up >= 1) return labelled({side(upper_), BandLabel::upper});
                    if (up <= 0) return labelled({side(1 - upper_), BandLabel::lower});
                    // The fade mixes both sides whatever its label.
                    return {mix_colour(side(1 - upper_), side(upper_), up),
                            up >= 0.5 ? BandLabel::upper : BandLabel::lower};
                }
                default: {
                    if (into_upper >= bands_.blend) return labelled({side(upper_), BandLabel::upper});
                    if (into_upper <= -bands_.blend) return labelled({side(1 - upper_), BandLabel::lower});
                    // The blends mix both sides whatever their label.
                    return level_edge(bands_, into_upper, side(upper_), side(1 - upper_));
                }
            }
        }();
        if (plain) *plain = shown;
        return painted;
    }

    // The point of an over tile: A's side left out, B's side and every band
    // on A's side laid over it as coverage. Where a side shows as it is the
    // matte is known without A's texel (nothing of B, or all of it), which
    // spares reading it: moving water's texels are most of a world's time.
    OverPixel over_paint(int i, int j) const {
        std::optional<Colour> b;  // B's texel is the same in all three
        int plain = -1;
        const Colour on_black = paint(i, j, rgb(0, 0, 0), &b, &plain).colour;
        if (plain == 0) return {};
        if (plain == 1) return {on_black, 255};
        const Colour a = texel(0, i, j, shade_at(i, j));
        return matte_over(on_black, paint(i, j, rgb(255, 255, 255), &b).colour, paint(i, j, a, &b).colour, a);
    }

    // The ground's shape under the point, for the maps: a raised side
    // stands on a short slope across the lip the colour draws (land above
    // water across its wet band, gentler); the lower side and the water,
    // foam and all, lie flat at 0, and two of a kind meet level.
    Surface surface_at(int i, int j) const {
        if (level_ != Level::shore && level_ != Level::step) return plane_at_height({}, 0.0f);
        const double side = upper_ == 1 ? 1.0 : -1.0;
        const double uphill_i = side * (distance(std::min(i + 1, h_ - 1), j) - distance(std::max(i - 1, 0), j));
        const double uphill_j = side * (distance(i, std::min(j + 1, h_ - 1)) - distance(i, std::max(j - 1, 0)));
        const TransitionStep step =
            level_ == Level::shore ? TransitionStep{bands_.wet, 0.5} : TransitionStep{bands_.lip, 1.0};
        return transition_relief(side * distance(i, j), uphill_i, uphill_j, step);
    }

private:
    // Where foam lies, without the flecks left where its breaks begin.
    void find_foam() {
        foam_.assign(static_cast<std::size_t>(h_) * h_, 0);
        for (int j = 0; j < h_; ++j)
            for (int i = 0; i < h_; ++i) {
                const double into_water = upper_ == 1 ? -distance(i, j) : distance(i, j);
                if (into_water <= 0) continue;
                const double u = static_cast<double>(i) / h_, v = static_cast<double>(j) / h_;
                foam_[static_cast<std::size_t>(j) * h_ + i] =
                    into_water < foam_reach(style_, bands_, noise01(foam_noise_, u, v, 0.37));
            }
        clear_small_regions(foam_, h_, 3);
    }

    // A tile of one terrain lies beyond every band's reach of a boundary.
    double distance(int i, int j) const {
        if (spec_.mask == 0 || spec_.mask == corner_masks - 1) return spec_.mask == 0 ? -reach_ : reach_;
        return regions_->distance(i, j);
    }
    float shade_at(int i, int j) const { return shades_[static_cast<std::size_t>(j) * h_ + i]; }

    // 0..1: the set's noise, which every tile shares at its edges, and the
    // variant's own inside.
    double noise01(const PeriodicNoise& noise, double u, double v, double shift = 0) const {
        double n = noise.at(u, v).value;
        const double share = blend_.noise_share(u, v);
        if (share > 0) n = (1 - share) * n + share * variant_noise_.at(u + shift, v).value;
        return std::clamp(0.5 + 0.6 * n, 0.0, 1.0);
    }

    Colour texel(int side, int i, int j, float shade) const {
        const bool water = (side == 0 ? spec_.a : spec_.b).kind == TerrainKind::water;
        if (water && flow_) return transition_flowing_water_texel(sheet_, cells_[side], h_, i, j, shades_, *flow_);
        const auto read = [&](TextureOffset offset, const EvenTexture& land) {
            return water ? transition_water_texel(sheet_, cells_[side], h_, i, j, shade, phase_, offset)
                         : transition_land_texel(land, h_, i, j, shade, offset);
        };
        const double w = blend_.weight(i, j);
        if (w <= 0) return read({}, land_[side]);
        const Colour own = read(blend_.offset(side), own_land_[side]);
        return w >= 1 ? own : mix_colour(read({}, land_[side]), own, w);
    }

    const RasterImage& sheet_;
    WaterPhase phase_;
    const TransitionTileSpec& spec_;
    int h_;
    Bands bands_;
    int reach_;
    std::optional<TileRegions> regions_;
    VariantBlend blend_;
    DepthFade fade_;
    PeriodicNoise width_noise_, foam_noise_, variant_noise_;
    SheetPoint cells_[2];
    EvenTexture land_[2], own_land_[2];
    int upper_ = 1;
    Level level_ = Level::level;
    ShoreStyle style_;
    std::vector<std::uint8_t> foam_;
    std::vector<float> shades_;  // set_point_shade of every point, row by row
    std::shared_ptr<const FlowFrame> flow_;  // when the water flows
};
}  // namespace

std::vector<BandLabel> transition_band_labels(const RasterImage& ground_sheet, const TransitionTileSpec& spec,
                                              int half_width) {
    const TransitionPainter painter(ground_sheet, WaterPhase{}, spec, half_width);
    std::vector<BandLabel> labels;
    labels.reserve(static_cast<std::size_t>(half_width) * half_width);
    for (int j = 0; j < half_width; ++j)
        for (int i = 0; i < half_width; ++i) labels.push_back(painter.paint(i, j).label);
    return labels;
}

std::vector<float> transition_distances(const TransitionTileSpec& spec, int half_width) {
    const TileRegions regions = regions_for(spec, half_width, band_reach(bands_for(half_width)));
    std::vector<float> distances;
    distances.reserve(static_cast<std::size_t>(half_width) * half_width);
    for (int j = 0; j < half_width; ++j)
        for (int i = 0; i < half_width; ++i) distances.push_back(static_cast<float>(regions.distance(i, j)));
    return distances;
}

std::vector<OverPixel> transition_points(const RasterImage& ground_sheet, const TransitionTileSpec& spec,
                                         int half_width) {
    const TransitionPainter painter(ground_sheet, WaterPhase{}, spec, half_width);
    std::vector<OverPixel> points;
    points.reserve(static_cast<std::size_t>(half_width) * half_width);
    for (int j = 0; j < half_width; ++j)
        for (int i = 0; i < half_width; ++i)
            points.push_back(spec.over ? painter.over_paint(i, j) : OverPixel{painter.paint(i, j).colour, 255});
    return points;
}

void draw_transition_tile(TileContext& context, const TransitionTileSpec& spec) {
    if (spec.road.any()) return spec.road.bridge ? draw_bridge_tile(context, spec) : draw_road_tile(context, spec);
    if (spec.channel.any()) return draw_channel_tile(context, spec);
    set_tile_geometry(context);  // the diamond's geometry at the chosen width
    const int half_width = context.state.geometry.half_width;
    begin_tile(context, tile_area_colour);
    const TransitionPainter painter(context.state.ground_sheet.image, context.request.water_phase, spec, half_width);
    DrawingContext dc(context.state.canvas, context.request.surfaces, context.request.painted);
    SurfaceId top = 0;  // the upper side's flat top, named once
    for (int i = 0; i < half_width; ++i)
        for (int j = 0; j < half_width; ++j) {
            if (dc.mapping_surfaces()) {
                const Surface s = painter.surface_at(i, j);
                const bool flat = s.direction.right == 0.0 && s.direction.away == 0.0;
                if (!flat) dc.set_surface(s);
                else if (s.base == 0.0f) dc.reuse_surface(0);
                else {
                    if (top == 0) dc.set_surface(s), top = dc.current_surface();
                    dc.reuse_surface(top);
                }
            }
            // An over tile lays its point over the background as a canvas
            // would hold it, A's side as the background itself: points
            // overlap, and a later one covers an earlier as in any tile.
            const Colour colour =
                spec.over ? lay_over(context.request.background, painter.over_paint(i, j)) : painter.paint(i, j).colour;
            const CanvasPoint at = diamond_pixel(half_width, i, j);
            dc.plot(at.x, at.y, colour);
            dc.plot(at.x + 1, at.y, colour);
        }
    show_tile(context);
}
