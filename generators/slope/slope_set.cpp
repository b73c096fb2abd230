#include "generators/slope/slope_set.hpp"

#include "canvas/drawing_context.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "generators/common/shading.hpp"
#include "generators/slope/cliff_painter.hpp"
#include "generators/slope/column_span.hpp"
#include "generators/slope/flat_diamond.hpp"
#include "generators/slope/slope_faces.hpp"
#include "generators/slope/slope_light.hpp"
#include "generators/common/even_texture.hpp"
#include "generators/transition/point_shade.hpp"
#include "state/tile_setup.hpp"

#include <algorithm>
#include <cmath>

namespace {
// One face along one column: height = a + b * flat row (continuous), in pixels.
struct ColumnPlane {
    double a = 0, b = 0;
    double height(double flat_row) const { return a + b * flat_row; }
    // The flat row a canvas row's centre lifts from.
    double flat_row(double canvas_row) const { return (canvas_row + a) / (1 - b); }
};

class SlopePainter {
public:
    SlopePainter(const AppState& state, const SlopeTileSpec& spec, int half_width, int step)
        : sheet_(state.ground_sheet.image),
          spec_(spec),
          h_(half_width),
          step_(step),
          texel_step_(64.0f / static_cast<float>(half_width)),
          land_(sheet_, terrain_cell_origin(spec.ground)),
          diamond_(half_width),
          faces_(slope_faces(spec.mask)) {
        corners_ = {step * corner_terrain(spec.mask, corner_top), step * corner_terrain(spec.mask, corner_right),
                    step * corner_terrain(spec.mask, corner_bottom), step * corner_terrain(spec.mask, corner_left)};
        for (int f = 0; f < 2; ++f) {
            const FacePlane& p = face(f);
            normals_[f] = ground_normal(step * p.along_u / h_, step * p.along_v / h_);
            light_[f] = p.flat() ? 1.0 : face_light(normals_[f]);
        }
    }

    // Paints face f's pixels (two passes, so each face is one surface).
    void paint(DrawingContext& dc, int f) const {
        if (f == 1 && faces_.fold == Fold::none) return;
        if (dc.mapping_surfaces()) dc.set_surface(surface(f));
        dc.set_painted_light(static_cast<float>(light_[f]));  // for the albedo
        for (int x = diamond_.left(); x <= diamond_.right(); ++x) {
            const ColumnSpan span = slope_span(diamond_, corners_, x);
            const ColumnPlane planes[2] = {column_plane(face(0), x), column_plane(face(1), x)};
            for (int y = span.first; y < span.end; ++y) {
                const double centre = y + 0.5;
                const int on = face_at(planes, x, centre);
                if (on != f) continue;
                const int row = std::clamp(static_cast<int>(std::floor(planes[on].flat_row(centre))), diamond_.top(x),
                                           diamond_.bottom(x) - 1);
                const GridPoint p = diamond_.at(x, row);
                if (p.i < 0) continue;
                dc.plot(x, y, colour(p, on));
            }
        }
    }

private:
    const FacePlane& face(int f) const { return f == 0 ? faces_.first : faces_.second; }

    ColumnPlane column_plane(const FacePlane& p, int x) const {
        // i - j = dx and i + j = 2 (row - top row) on the grid.
        const double dx = x + 0.5 - diamond_.corner_x_top(), r0 = diamond_.top_row();
        return {step_ * (p.at_top + (p.along_u * (dx - 2 * r0) - p.along_v * (dx + 2 * r0)) / (2.0 * h_)),
                step_ * (p.along_u + p.along_v) / h_};
    }

    int face_at(const ColumnPlane (&planes)[2], int x, double centre) const {
        switch (faces_.fold) {
            case Fold::top_bottom: return x + 0.5 > diamond_.corner_x_top() ? 0 : 1;
            case Fold::left_right: {
                const double fold_row = diamond_.top_row() + h_ / 2.0;
                return centre < fold_row - planes[0].height(fold_row) ? 0 : 1;
            }
            default: return 0;
        }
    }

    Colour colour(GridPoint p, int f) const {
        const float shade = set_point_shade(spec_.set_seed, spec_.variant, h_, p.i, p.j);
        const Colour flat = scale_colour(land_.at_point(p.i, p.j, texel_step_), shade);
        return light_[f] == 1.0 ? flat : scale_colour(flat, light_[f]);
    }

    // The face's true normal and height (above the tile's low corners) at
    // each canvas pixel.
    Surface surface(int f) const {
        const ColumnPlane at0 = column_plane(face(f), 0), at1 = column_plane(face(f), 1);
        const double b = at0.b, keep = 1 - b;
        Surface s = plane_at_height(normals_[f], 0.0f);
        s.base = static_cast<float>((at0.a + b * 0.5) / keep);
        s.per_x = static_cast<float>((at1.a - at0.a) / keep);
        s.per_y = static_cast<float>(b / keep);
        return s;
    }

    const RasterImage& sheet_;
    const SlopeTileSpec& spec_;
    int h_, step_;
    float texel_step_;
    EvenTexture land_;
    FlatDiamond diamond_;
    SlopeFaces faces_;
    CornerHeights corners_;
    WorldDirection normals_[2];
    double light_[2] = {1.0, 1.0};
};
}  // namespace

int default_slope_step(int iso_width) { return std::max(2, iso_width / 8 / 2 * 2); }
int largest_slope_step(int iso_width) { return std::max(2, iso_width / 4 / 2 * 2); }
int slope_step(const SlopeTileSpec& spec, int iso_width) {
    return spec.step > 0 ? spec.step : default_slope_step(iso_width);
}

void draw_slope_tile(TileContext& context, const SlopeTileSpec& spec) {
    set_tile_geometry(context);  // the diamond's geometry at the chosen width
    const int half_width = context.state.geometry.half_width;
    const int step = slope_step(spec, context.state.geometry.iso_width);
    begin_tile(context, tile_area_colour);
    DrawingContext dc(context.state.canvas, context.request.surfaces, context.request.painted);
    if (spec.cliff) {
        paint_cliff(context.state, spec, half_width, step, dc);
    } else {
        const SlopePainter painter(context.state, spec, half_width, step);
        painter.paint(dc, 0);
        painter.paint(dc, 1);
    }
    show_tile(context);
}

double slope_surface_height(int mask, double u, double v) {
    const SlopeFaces faces = slope_faces(mask);
    bool first = true;
    if (faces.fold == Fold::top_bottom) first = u > v;
    else if (faces.fold == Fold::left_right) first = u + v < 1;
    const FacePlane& p = first ? faces.first : faces.second;
    return p.at_top + p.along_u * u + p.along_v * v;
}
