#include "generators/slope/cliff_painter.hpp"

#include "generators/common/diamond_mapping.hpp"
#include "generators/common/shading.hpp"
#include "generators/slope/column_span.hpp"
#include "generators/slope/slope_channel.hpp"
#include "generators/slope/flat_diamond.hpp"
#include "generators/transition/corner_field.hpp"
#include "generators/common/even_texture.hpp"
#include "generators/transition/point_shade.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
enum class Part : std::uint8_t { none, low, high, face };

struct Pixel {
    Colour colour = 0;
    Part part = Part::none;
    std::int16_t foot = 0;             // a face pixel: the row its face stands on
    float toward_i = 0, toward_j = 0;  // a face pixel: where it faces, on the ground
};

class CliffPainter {
public:
    CliffPainter(const AppState& state, const WaterPhase& phase, const SlopeTileSpec& spec, int half_width, int step)
        : sheet_(state.ground_sheet.image),
          spec_(spec),
          h_(half_width),
          step_(step),
          texel_step_(64.0f / static_cast<float>(half_width)),
          ground_(sheet_, terrain_cell_origin(spec.ground)),
          rock_(terrain_cell_origin(spec.face)),
          diamond_(half_width),
          field_(spec.set_seed, spec.mask, spec.variant),
          edge_rows_(std::max(2, half_width / 16)),
          shadow_rows_(std::max(3, half_width / 8)),
          channel_(sheet_, phase, spec, half_width) {
        field_.set_still_margin(static_cast<double>(set_still_band) / half_width);
    }

    // The rows of column x, back to front: low ground, high ground a step
    // up, and the face where high ground ends towards the viewer.
    std::vector<Pixel> column(int x, ColumnSpan& span) const {
        const ColumnEnd top = column_end(diamond_, x, true), bottom = column_end(diamond_, x, false);
        const long long lift = 2LL * h_ * step_;
        const bool bottom_high = high_end(bottom);
        span = span_between(diamond_, x, high_end(top) ? lift : 0, bottom_high ? lift : 0);
        std::vector<Pixel> rows(static_cast<std::size_t>(std::max(0, span.end - span.first)));
        const auto put = [&](int y, const Pixel& p) {
            if (y >= span.first && y < span.end) rows[static_cast<std::size_t>(y - span.first)] = p;
        };
        int shadow_left = 0;
        const int first = diamond_.top(x), end = diamond_.bottom(x);
        if (high_end(top) && first < end && sample(diamond_.at(x, first)).value < 0.5) {
            // High ground behind the edge ends right at it: the face stands
            // on this tile's first row, in the rows its end was lifted by.
            const GridPoint p = diamond_.at(x, first);
            face(x, first - 1, p, sample(p), put);
            shadow_left = shadow_rows_;
        }
        for (int r = first; r < end; ++r) {
            const GridPoint p = diamond_.at(x, r);
            const FieldSample here = sample(p);
            const bool high = here.value >= 0.5;
            const bool next_high = r + 1 < end ? sample(diamond_.at(x, r + 1)).value >= 0.5 : bottom_high;
            const Colour flat = ground_colour(p);
            if (!high) {
                const bool shaded = shadow_left > 0;
                Colour low = shaded ? scale_colour(flat, 0.55) : flat;
                if (shaded && channel_.in_water(p)) low = channel_.landing(p, flat, shadow_rows_ - shadow_left);
                put(r, {low, Part::low});
                shadow_left = std::max(0, shadow_left - 1);
                continue;
            }
            const bool front = !next_high;
            put(r - step_, {front ? lit(flat) : flat, Part::high});
            if (channel_.any() && r > first && sample(diamond_.at(x, r - 1)).value < 0.5 && channel_.in_water(p))
                hidden_fall(x, r, rows, span);
            if (!front) continue;
            face(x, r, p, here, put);
            for (int e = 1; e < edge_rows_; ++e)
                put(r - step_ - e, {lit(ground_colour(diamond_.at(x, r - e))), Part::high});
            shadow_left = shadow_rows_;
        }
        // A row no part reached (where the field turns at the very edge)
        // takes the row above it, or below at the top.
        for (std::size_t k = 0; k < rows.size(); ++k)
            if (rows[k].part == Part::none) {
                if (k > 0) rows[k] = rows[k - 1];
                else
                    for (std::size_t n = 1; n < rows.size(); ++n)
                        if (rows[n].part != Part::none) {
                            rows[k] = rows[n];
                            break;
                        }
            }
        return rows;
    }

private:
    // A river falling away from the viewer over high row r's back edge: its
    // crest is foam, and so is the water just visible beyond it.
    void hidden_fall(int x, int r, std::vector<Pixel>& rows, const ColumnSpan& span) const {
        const GridPoint p = diamond_.at(x, r);
        Pixel& crest = rows[static_cast<std::size_t>(r - step_ - span.first)];
        crest.colour = channel_.landing(p, crest.colour, 1);
        for (int e = 1; e <= 3; ++e) {
            const int y = r - step_ - e;
            if (y < span.first || y >= span.end) continue;
            Pixel& beyond = rows[static_cast<std::size_t>(y - span.first)];
            const GridPoint q = diamond_.at(x, y);
            if (beyond.part == Part::low && q.i >= 0 && channel_.in_water(q))
                beyond.colour = channel_.landing(q, beyond.colour, e - 1);
        }
    }

    // The face in front of high row r: from under its lit edge down to the
    // low ground, facing down the field.
    template <class Put>
    void face(int x, int r, GridPoint p, const FieldSample& here, const Put& put) const {
        const double length = std::max(std::hypot(here.du, here.dv), 1e-9);
        const float ti = static_cast<float>(-here.du / length), tj = static_cast<float>(-here.dv / length);
        for (int k = 1; k <= step_; ++k) {
            const int y = r - step_ + k;
            put(y, {face_colour(x, y, p, ti, tj, k), Part::face, static_cast<std::int16_t>(r + 1), ti, tj});
        }
    }

    FieldSample sample(GridPoint p) const {
        if (p.i < 0) return {};
        return field_.at(static_cast<double>(p.i) / h_, static_cast<double>(p.j) / h_);
    }

    bool high_end(const ColumnEnd& end) const {
        if (end.from == end.to) return corner_terrain(spec_.mask, end.from) == 1;
        double u, v;
        column_end_uv(end, h_, u, v);
        return field_.at(u, v).value >= 0.5;
    }

    Colour ground_colour(GridPoint p) const {
        if (p.i < 0) return 0;
        const float shade = set_point_shade(spec_.set_seed, spec_.variant, h_, p.i, p.j);
        const Colour ground = scale_colour(ground_.at_point(p.i, p.j, texel_step_), shade);
        return channel_.any() ? channel_.ground(p, ground, 1.0) : ground;
    }

    static Colour lit(Colour c) { return rgb_clamped(red(c) * 5 / 4 + 10, green(c) * 5 / 4 + 10, blue(c) * 5 / 4 + 8); }

    // Rock laid on the face by its place on screen, repeating every half
    // width across and quarter width down as the tiles of a map do; turned
    // towards the light it is lighter, and it darkens towards its foot.
    Colour face_colour(int x, int y, GridPoint p, float ti, float tj, int k) const {
        if (const std::optional<Colour> fall = channel_.fall(x, k, step_, p)) return *fall;
        const int across = ((x - diamond_.corner_x_left()) % h_ + h_) % h_;
        const int quarter = std::max(1, h_ / 2);
        const int down = ((y - static_cast<int>(diamond_.top_row())) % quarter + quarter) % quarter;
        const Colour texel = sheet_.colour_at(rock_.x + across * 64 / h_, rock_.y + down * 64 / quarter);
        const float shade = set_point_shade(spec_.set_seed, spec_.variant, h_, p.i, p.j);
        // Facing down the i axis, towards the relief's light, is lit best.
        const double towards_light = (ti + 0.35 * tj) / 1.06;
        const double light = (0.72 + 0.28 * towards_light) * (1.0 - 0.3 * (k - 1) / std::max(1, step_ - 1));
        return scale_colour(texel, light * (0.75 + 0.25 * shade));
    }

    const RasterImage& sheet_;
    const SlopeTileSpec& spec_;
    int h_, step_;
    float texel_step_;
    EvenTexture ground_;
    SheetPoint rock_;
    FlatDiamond diamond_;
    CornerField field_;
    int edge_rows_, shadow_rows_;
    SlopeChannel channel_;
};
}  // namespace

void paint_cliff(const AppState& state, const WaterPhase& phase, const SlopeTileSpec& spec, int half_width, int step,
                 DrawingContext& dc) {
    const CliffPainter painter(state, phase, spec, half_width, step);
    const FlatDiamond diamond(half_width);
    std::vector<std::vector<Pixel>> columns;
    std::vector<ColumnSpan> spans;
    for (int x = diamond.left(); x <= diamond.right(); ++x) {
        spans.emplace_back();
        columns.push_back(painter.column(x, spans.back()));
    }
    // One pass a part, so each part is one surface (a face one a column).
    for (const Part part : {Part::low, Part::high, Part::face}) {
        if (dc.mapping_surfaces() && part != Part::face)
            dc.set_surface(part == Part::low ? flat_ground()
                                             : plane_at_height(WorldDirection{}, static_cast<float>(step)));
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const int x = diamond.left() + static_cast<int>(c);
            bool named = false;
            for (std::size_t k = 0; k < columns[c].size(); ++k) {
                const Pixel& p = columns[c][k];
                if (p.part != part) continue;
                if (part == Part::face && dc.mapping_surfaces() && !named) {
                    dc.set_surface(standing_plane(ground_axes(p.toward_i, p.toward_j, 0.0), static_cast<float>(x),
                                                  static_cast<float>(p.foot), 0.0f));
                    named = true;
                }
                dc.plot(x, spans[c].first + static_cast<int>(k), p.colour);
            }
        }
    }
}
