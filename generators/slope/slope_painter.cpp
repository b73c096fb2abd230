#include "generators/slope/slope_painter.hpp"

#include "generators/common/shading.hpp"
#include "generators/slope/column_span.hpp"
#include "generators/slope/slope_channel.hpp"
#include "generators/slope/flat_diamond.hpp"
#include "generators/slope/slope_light.hpp"
#include "generators/slope/slope_surface.hpp"
#include "generators/transition/over_matte.hpp"
#include "generators/transition/road_paint.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {
class SlopePainter {
public:
    SlopePainter(const AppState& state, const WaterPhase& phase, const SlopeTileSpec& spec, int half_width, int step)
        : h_(half_width),
          step_(step),
          diamond_(half_width),
          surface_(spec.mask),
          points_(transition_points(state.ground_sheet.image, slope_ground_tile(spec), half_width)),
          channel_(state.ground_sheet.image, phase, spec, half_width) {
        if (spec.road.any())
            road_.emplace(state.ground_sheet.image, spec.over ? spec.upper : spec.face, spec.road, spec.set_seed,
                          spec.variant, half_width);
        over_ = spec.over;
        corners_ = {step * corner_terrain(spec.mask, corner_top), step * corner_terrain(spec.mask, corner_right),
                    step * corner_terrain(spec.mask, corner_bottom), step * corner_terrain(spec.mask, corner_left)};
    }

    void paint(DrawingContext& dc, Colour background) const {
        for (int x = diamond_.left(); x <= diamond_.right(); ++x) {
            const ColumnSpan span = slope_span(diamond_, corners_, x);
            const double dx = x + 0.5 - diamond_.corner_x_top();
            for (int y = span.first; y < span.end; ++y) {
                const double f = flat_row(dx, y + 0.5);
                const int row = std::clamp(static_cast<int>(std::floor(f)), diamond_.top(x), diamond_.bottom(x) - 1);
                const GridPoint p = diamond_.at(x, row);
                if (p.i < 0) continue;
                OverPixel ground = points_[static_cast<std::size_t>(p.j) * h_ + p.i];
                // The rapids' water covers whatever ground lies there.
                const bool water = channel_.any() && channel_.in_water(p);
                if (water) ground.alpha = 255;
                // A road over: the track alone; else worn into the ground.
                if (road_) {
                    const OverPixel track = road_->at(p.i, p.j);
                    if (over_) ground = track;
                    else ground.colour = lay_over(ground.colour, track);
                }
                if (ground.alpha == 0) continue;
                double u, v;
                place(dx, f, u, v);
                const WorldDirection normal =
                    ground_normal(step_ * surface_.rise_u(v) / h_, step_ * surface_.rise_v(u) / h_);
                const double light = surface_.flat() ? 1.0 : face_light(normal);
                if (dc.mapping_surfaces()) {
                    dc.set_surface(plane_at_height(normal, static_cast<float>(step_ * surface_.height(u, v))));
                    dc.set_painted_light(static_cast<float>(light));  // for the albedo
                }
                Colour lit = light == 1.0 ? ground.colour : scale_colour(ground.colour, light);
                if (channel_.any()) lit = channel_.ground(p, lit, light);
                dc.plot(x, y, ground.alpha == 255 ? lit : lay_over(background, {lit, ground.alpha}));
            }
        }
    }

private:
    // The place on the tile of the point at flat row f of the column dx
    // from the top corner's: i - j = dx and i + j = 2 (f - top row).
    void place(double dx, double f, double& u, double& v) const {
        const double across = 2 * (f - diamond_.top_row());
        u = (across + dx) / (2.0 * h_), v = (across - dx) / (2.0 * h_);
    }
    double lift(double dx, double f) const {
        double u, v;
        place(dx, f, u, v);
        return step_ * surface_.height(u, v);
    }
    // The flat row whose point the surface lifts to canvas row `row`: the
    // lifted row f - lift(f) only grows down a column (the steepest slope is
    // seen at worst edge-on), so Newton's steps find it from the plain guess.
    double flat_row(double dx, double row) const {
        double f = row + lift(dx, row);
        for (int k = 0; k < 6; ++k) {
            double u, v;
            place(dx, f, u, v);
            const double slope = step_ * (surface_.rise_u(v) + surface_.rise_v(u)) / h_;
            const double error = f - step_ * surface_.height(u, v) - row;
            if (std::abs(error) < 1e-7 || slope > 0.999) break;
            f -= error / (1 - slope);
        }
        return f;
    }

    int h_, step_;
    FlatDiamond diamond_;
    SlopeSurface surface_;
    std::vector<OverPixel> points_;
    CornerHeights corners_;
    SlopeChannel channel_;
    std::optional<RoadPaint> road_;
    bool over_ = false;
};
}  // namespace

void paint_slope(const AppState& state, const WaterPhase& phase, const SlopeTileSpec& spec, int half_width, int step,
                 Colour background, DrawingContext& dc) {
    SlopePainter(state, phase, spec, half_width, step).paint(dc, background);
}
