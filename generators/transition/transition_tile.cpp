#include "generators/transition/transition_set.hpp"

#include "state/tile_setup.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "canvas/drawing_context.hpp"
#include "generators/common/shading.hpp"
#include "generators/transition/corner_field.hpp"
#include "generators/transition/periodic_noise.hpp"
#include "generators/transition/point_shade.hpp"
#include "generators/transition/transition_relief.hpp"
#include "generators/transition/transition_water.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr int still_band = set_still_band;

// Band widths in grid steps (about a pixel each), growing with the tile.
struct Bands {
    double foam, shallow, wet, rough, lip;
};

Bands bands_for(int half_width) {
    const double scale = half_width / 32.0;  // 1 at width 64
    return {std::max(1.0, 1.3 * scale), std::max(1.5, 2.5 * scale), std::max(1.5, 2.2 * scale),
            std::max(1.0, 1.6 * scale), std::max(1.0, 1.0 * scale)};
}

double unit(std::uint64_t h) { return static_cast<double>(h >> 11) / static_cast<double>(1ULL << 53); }

float point_shade(const TransitionTileSpec& spec, int half_width, int i, int j) {
    return set_point_shade(spec.set_seed, spec.variant, half_width, i, j);
}

// A hash of the point alone, for the rough fringe (the same in every tile,
// so a fringe that runs across an edge stays one fringe).
double point_grain(std::uint64_t set_seed, int i, int j) {
    return unit(mix_hash(set_seed ^ 0x5eedULL ^
                         mix_hash((static_cast<std::uint64_t>(i) << 20) ^ static_cast<std::uint64_t>(j))));
}

Colour mix(Colour c, Colour toward, double t) {
    auto m = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return rgb(m(red(c), red(toward)), m(green(c), green(toward)), m(blue(c), blue(toward)));
}

Colour tint(Colour c, double r, double g, double b) {
    return rgb_clamped(static_cast<int>(std::lround(red(c) * r)), static_cast<int>(std::lround(green(c) * g)),
                       static_cast<int>(std::lround(blue(c) * b)));
}

constexpr Colour foam_colour = rgb(236, 244, 238);

// Shallow water over sand: lighter and greener than the deep water.
Colour shallows(Colour c) {
    return rgb_clamped(static_cast<int>(red(c) * 0.85) + 18, static_cast<int>(green(c) * 1.15) + 34,
                       static_cast<int>(blue(c) * 1.05) + 26);
}

class TransitionPainter {
public:
    TransitionPainter(const AppState& state, const WaterPhase& phase, const TransitionTileSpec& spec, int half_width)
        : sheet_(state.ground_sheet.image),
          phase_(phase),
          spec_(spec),
          h_(half_width),
          step_(64.0f / static_cast<float>(half_width)),
          bands_(bands_for(half_width)),
          field_(spec.set_seed, spec.mask, spec.variant) {
        field_.set_still_margin(static_cast<double>(still_band) / half_width);
        cells_[0] = terrain_cell_origin(spec.a);
        cells_[1] = terrain_cell_origin(spec.b);
        const bool a_water = spec.a.kind == TerrainKind::water, b_water = spec.b.kind == TerrainKind::water;
        shore_ = a_water != b_water;
        // The side the other overlaps: water lies under the shore, ground
        // under rock, and otherwise A under B.
        upper_ =
            shore_ ? (a_water ? 1 : 0) : (spec.a.kind == TerrainKind::rock && spec.b.kind != TerrainKind::rock ? 0 : 1);
        if (shore_) shallow_tint_ = terrain_mean_colour(sheet_, upper_ == 0 ? spec.a : spec.b);
    }

    Colour colour_at(int i, int j) const {
        const FieldSample sample = field_.at(static_cast<double>(i) / h_, static_cast<double>(j) / h_);
        const double to_b = boundary_distance(sample, h_);
        const double into_upper = upper_ == 1 ? to_b : -to_b;
        const float shade = point_shade(spec_, h_, i, j);
        if (shore_) return shore(i, j, into_upper, shade);
        // Screen y grows with i + j: the upper ground faces the viewer where
        // it lies up the screen from its boundary.
        const bool faces_viewer = (upper_ == 1 ? 1 : -1) * (sample.du + sample.dv) < 0;
        return edge(i, j, into_upper, faces_viewer, shade);
    }

    // The ground's shape under the point, for the maps: the upper side
    // raised across the lip the colour draws (a shore's land across its wet
    // band, gentler); the lower side and the water, foam and all, flat.
    Surface surface_at(int i, int j) const {
        const FieldSample sample = field_.at(static_cast<double>(i) / h_, static_cast<double>(j) / h_);
        const double side = upper_ == 1 ? 1.0 : -1.0;
        const double into_upper = side * boundary_distance(sample, h_);
        if (shore_) return transition_relief(into_upper, side * sample.du, side * sample.dv, {bands_.wet, 0.5});
        return transition_relief(fringe_at(i, j, into_upper), side * sample.du, side * sample.dv, {bands_.lip, 1.0});
    }

private:
    // How far into the upper side a point lies once its edge is broken into clumps.
    double fringe_at(int i, int j, double into_upper) const {
        const int block = std::max(1, h_ / 24);
        const double grain = point_grain(spec_.set_seed, i / block, j / block);
        return into_upper + bands_.rough * (grain - 0.5) * 2;
    }

    Colour texel(int side, int i, int j, float shade) const {
        const TransitionTerrain& t = side == 0 ? spec_.a : spec_.b;
        if (t.kind == TerrainKind::water) return transition_water_texel(sheet_, cells_[side], h_, i, j, shade, phase_);
        return scale_colour(diamond_texel(sheet_, cells_[side].x, cells_[side].y, i, j, step_), shade);
    }

    // Land against water: wet ground darkening towards the line, a line of
    // foam on the water, then lighter shallows fading out in a broken fringe.
    Colour shore(int i, int j, double into_land, float shade) const {
        const int land = upper_, water = 1 - upper_;
        const double grain = point_grain(spec_.set_seed, i, j);
        if (into_land >= 0) {
            const Colour ground = texel(land, i, j, shade);
            // Darkest at the waterline, then a band, then a broken fringe.
            if (into_land < 1.0) return tint(ground, 0.52, 0.54, 0.60);
            if (into_land < bands_.wet || (into_land < bands_.wet + 1.5 && grain < 0.5))
                return tint(ground, 0.66, 0.68, 0.74);
            return ground;
        }
        const double out = -into_land;
        const Colour w = texel(water, i, j, shade);
        if (out < bands_.foam) return mix(w, foam_colour, 0.55 + 0.35 * shade);
        const double shallow_end = bands_.foam + bands_.shallow;
        if (out < shallow_end || (out < shallow_end + 1.5 && grain < 0.45))
            return shallows(mix(w, shallow_tint_, 0.12));
        return w;
    }

    // Two grounds (or rock): the upper one's edge breaks into clumps, a lip
    // darker where it faces the viewer and lit where it faces away, and a
    // thin shadow on the lower ground in front of it.
    Colour edge(int i, int j, double into_upper, bool faces_viewer, float shade) const {
        const double fringe = fringe_at(i, j, into_upper);
        if (fringe >= 0) {
            const Colour top = texel(upper_, i, j, shade);
            if (fringe >= bands_.lip) return top;
            return faces_viewer ? tint(top, 0.74, 0.74, 0.78) : tint(top, 1.14, 1.14, 1.08);
        }
        const Colour under = texel(1 - upper_, i, j, shade);
        return faces_viewer && fringe > -bands_.lip * 1.5 ? tint(under, 0.6, 0.6, 0.66) : under;
    }

    const RasterImage& sheet_;
    WaterPhase phase_;
    const TransitionTileSpec& spec_;
    int h_;
    float step_;
    Bands bands_;
    CornerField field_;
    SheetPoint cells_[2];
    bool shore_ = false;
    int upper_ = 1;
    Colour shallow_tint_ = 0;
};
}  // namespace

void draw_transition_tile(TileContext& context, const TransitionTileSpec& spec) {
    compute_house_footprint(context);  // the diamond's geometry at the chosen width
    const int half_width = context.state.geometry.half_width;
    begin_tile(context, tile_area_colour);
    const TransitionPainter painter(context.state, context.request.water_phase, spec, half_width);
    DrawingContext dc(context.state.canvas, context.request.surfaces);
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
            const Colour colour = painter.colour_at(i, j);
            const CanvasPoint at = diamond_pixel(half_width, i, j);
            dc.plot(at.x, at.y, colour);
            dc.plot(at.x + 1, at.y, colour);
        }
    show_tile(context);
}
