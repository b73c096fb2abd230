#include "generators/slope/cliff_painter.hpp"

#include "generators/common/diamond_mapping.hpp"
#include "generators/common/shading.hpp"
#include "generators/slope/cliff_face.hpp"
#include "generators/slope/cliff_outline.hpp"
#include "generators/slope/column_span.hpp"
#include "generators/slope/flat_diamond.hpp"
#include "generators/transition/over_matte.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
enum class Part : std::uint8_t { none, low, high, face };

struct Pixel {
    Colour colour = 0;
    std::uint8_t alpha = 255;  // over tiles: the ground's coverage
    Part part = Part::none;
    std::int16_t foot = 0;             // a face pixel: the row its face stands on
    float toward_i = 0, toward_j = 0;  // a face pixel: where it faces, on the ground
    bool speck = false;                // a face pixel to take the ground beside it
};

// A face no wider than this along a row, with ground either side, is a
// pole, not a face.
constexpr long pole_width = 2;
// How far along its row a speck looks for ground.
constexpr long speck_reach = 4;

// Light on the high ground's rim, and shade on the low ground at a face's
// foot and where raised ground hides the ground behind it.
Colour lit(Colour c) { return rgb_clamped(red(c) * 5 / 4 + 12, green(c) * 5 / 4 + 12, blue(c) * 5 / 4 + 10); }
Colour shaded(Colour c, double depth) { return scale_colour(c, 1.0 - depth); }

class CliffPainter {
public:
    CliffPainter(const AppState& state, const SlopeTileSpec& spec, int half_width, int step)
        : h_(half_width),
          step_(step),
          points_(transition_points(state.ground_sheet.image, slope_ground_tile(spec), half_width)),
          face_(state.ground_sheet.image, spec, half_width, step),
          diamond_(half_width),
          outline_(spec.set_seed, spec.mask, spec.variant, half_width),
          rim_rows_(std::max(2, half_width / 16)),
          shadow_rows_(std::max(3, half_width / 6)),
          hidden_rows_(std::max(1, half_width / 16)) {}

    // The rows of column x, back to front: low ground, high ground a step
    // up, and the face where high ground ends towards the viewer.
    std::vector<Pixel> column(int x, ColumnSpan& span) const {
        const ColumnEnd top = column_end(diamond_, x, true), bottom = column_end(diamond_, x, false);
        // Each end is what the edge's two tiles both find there; the first
        // row takes its end's side, so no sliver of either lies between.
        const bool top_high = end_high(top), bottom_high = end_high(bottom);
        const long long lift = 2LL * h_ * step_;
        span = span_between(diamond_, x, top_high ? lift : 0, bottom_high ? lift : 0);
        std::vector<Pixel> rows(static_cast<std::size_t>(std::max(0, span.end - span.first)));
        const auto in = [&](int y) { return y >= span.first && y < span.end; };
        const auto put = [&](int y, const Pixel& p) {
            if (in(y)) rows[static_cast<std::size_t>(y - span.first)] = p;
        };
        const int first = diamond_.top(x), end = diamond_.bottom(x);
        const auto high_at = [&](int r) {
            if (r == first) return top_high;
            if (r >= end) return bottom_high;
            const GridPoint p = diamond_.at(x, r);
            return p.i >= 0 && outline_.high(p.i, p.j);
        };
        // A face standing just behind the top edge (the tile behind ends
        // high there) throws its shadow across it.
        int shadow_left = !top_high && behind_high(top) ? shadow_rows_ : 0;
        for (int r = first; r < end; ++r) {
            const GridPoint p = diamond_.at(x, r);
            const OverPixel flat = ground_at(p);
            if (!high_at(r)) {
                const double depth = shadow_left > 0 ? 0.42 * shadow_left / shadow_rows_ + 0.08 : 0.0;
                put(r, {depth > 0 ? shaded(flat.colour, depth) : flat.colour, flat.alpha, Part::low});
                shadow_left = std::max(0, shadow_left - 1);
                continue;
            }
            shadow_left = 0;
            // Ground rising here hides the ground behind: what still shows
            // of it just above lies in the raised ground's lee.
            if (r > first && !high_at(r - 1)) darken_hidden(rows, span, r - step_ - 1);
            if (high_at(r + 1)) {
                put(r - step_, {flat.colour, flat.alpha, Part::high});
                continue;
            }
            // The front of the high ground: its rim lit, then the face down
            // to the low ground, which lies in its shadow.
            for (int e = 0; e < rim_rows_ && r - e >= first && high_at(r - e); ++e) {
                const OverPixel behind = ground_at(diamond_.at(x, r - e));
                put(r - step_ - e, {lit(behind.colour), behind.alpha, Part::high});
            }
            double du = 0, dv = 0;
            if (p.i >= 0) outline_.uphill(p.i, p.j, du, dv);
            const double length = std::max(std::hypot(du, dv), 1e-9);
            const float ti = static_cast<float>(-du / length), tj = static_cast<float>(-dv / length);
            for (int k = 1; k <= step_; ++k) {
                const int y = r - step_ + k;
                put(y, {face_.colour(x, k, p, ti, tj), 255, Part::face, static_cast<std::int16_t>(r + 1), ti, tj});
            }
            shadow_left = shadow_rows_;
        }
        if (bottom_high && end > first && !high_at(end - 1)) darken_hidden(rows, span, end - step_ - 1);
        // A face seen edge-on where the line turns away leaves a few rows of
        // it in a column: a speck, not a face. It takes the ground above.
        const std::size_t speck = static_cast<std::size_t>(std::max(2, step_ / 4));
        for (std::size_t k = 0; k < rows.size();) {
            std::size_t end = k;
            while (end < rows.size() && rows[end].part == Part::face) ++end;
            if (end - k > 0 && end - k <= speck && static_cast<std::size_t>(step_) > speck) {
                // A column that is all face has no ground of its own to take:
                // it takes its neighbours' (clear_poles).
                if (k == 0 && end == rows.size())
                    for (std::size_t s = k; s < end; ++s) rows[s].speck = true;
                else
                    for (std::size_t s = k; s < end; ++s) rows[s] = k > 0 ? rows[k - 1] : rows[end];
            }
            k = end > k ? end : k + 1;
        }
        // A row no part reached (where the line turns at the very edge)
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
    // The low ground rows ending at canvas row `last`, just above ground
    // that rises in front of them.
    void darken_hidden(std::vector<Pixel>& rows, const ColumnSpan& span, int last) const {
        for (int d = 0; d < hidden_rows_; ++d) {
            const int y = last - d;
            if (y < span.first || y >= span.end) continue;
            Pixel& p = rows[static_cast<std::size_t>(y - span.first)];
            if (p.part == Part::low) p.colour = shaded(p.colour, 0.22 * (hidden_rows_ - d) / hidden_rows_);
        }
    }

    bool end_high(const ColumnEnd& end) const {
        double u, v;
        column_end_uv(end, h_, u, v);
        return outline_.edge_high(u, v);
    }
    // A grid step beyond the top edge, in the tile behind: a close guess
    // at its side there. The top edges are u = 0 (up from the left
    // corner) and v = 0 (on to the right corner).
    bool behind_high(const ColumnEnd& end) const {
        double u, v;
        column_end_uv(end, h_, u, v);
        (end.to == corner_right ? v : u) -= 1.0 / h_;
        return outline_.edge_high(u, v);
    }

    OverPixel ground_at(GridPoint p) const {
        if (p.i < 0) return {0, 255};
        return points_[static_cast<std::size_t>(p.j) * h_ + p.i];
    }

    int h_, step_;
    std::vector<OverPixel> points_;
    CliffFace face_;
    FlatDiamond diamond_;
    CliffOutline outline_;
    int rim_rows_, shadow_rows_, hidden_rows_;
};

// Where the line runs straight away from the viewer the face is seen
// edge-on, and where it turns away a column can keep a sliver of it: a
// pole a pixel or two wide. The ground beside it shows instead; a sliver
// that reaches the tile's side may go on in the neighbour, and stays.
void clear_poles(std::vector<std::vector<Pixel>>& columns, const std::vector<ColumnSpan>& spans) {
    const auto at = [&](long c, int y) -> const Pixel* {
        if (c < 0 || c >= static_cast<long>(columns.size())) return nullptr;
        const int k = y - spans[static_cast<std::size_t>(c)].first;
        const std::vector<Pixel>& column = columns[static_cast<std::size_t>(c)];
        return k >= 0 && k < static_cast<int>(column.size()) ? &column[static_cast<std::size_t>(k)] : nullptr;
    };
    const auto ground = [](const Pixel* p) { return p && (p->part == Part::low || p->part == Part::high); };
    // Specks first, from the ground nearest along their row.
    for (std::size_t c = 0; c < columns.size(); ++c)
        for (std::size_t k = 0; k < columns[c].size(); ++k) {
            if (!columns[c][k].speck) continue;
            const int y = spans[c].first + static_cast<int>(k);
            for (long d = 1; d <= speck_reach && columns[c][k].speck; ++d)
                for (const long n : {static_cast<long>(c) - d, static_cast<long>(c) + d})
                    if (const Pixel* beside = at(n, y); ground(beside)) {
                        columns[c][k] = *beside;
                        break;
                    }
        }
    int top = 0, bottom = 0;
    for (const ColumnSpan& span : spans) top = std::min(top, span.first), bottom = std::max(bottom, span.end);
    for (int y = top; y < bottom; ++y)
        for (long c = 0; c < static_cast<long>(columns.size());) {
            const Pixel* p = at(c, y);
            if (!p || p->part != Part::face) {
                ++c;
                continue;
            }
            long end = c;
            while (at(end, y) && at(end, y)->part == Part::face) ++end;
            if (end - c <= pole_width && ground(at(c - 1, y)) && ground(at(end, y))) {
                const Pixel left = *at(c - 1, y);
                for (long n = c; n < end; ++n)
                    columns[static_cast<std::size_t>(n)]
                           [static_cast<std::size_t>(y - spans[static_cast<std::size_t>(n)].first)] = left;
            }
            c = end;
        }
}
}  // namespace

void paint_cliff(const AppState& state, const SlopeTileSpec& spec, int half_width, int step, Colour background,
                 DrawingContext& dc) {
    const CliffPainter painter(state, spec, half_width, step);
    const FlatDiamond diamond(half_width);
    std::vector<std::vector<Pixel>> columns;
    std::vector<ColumnSpan> spans;
    for (int x = diamond.left(); x <= diamond.right(); ++x) {
        spans.emplace_back();
        columns.push_back(painter.column(x, spans.back()));
    }
    clear_poles(columns, spans);
    // One pass a part, so each part is one surface (a face one a column).
    // An over tile lays its ground over the bottom tile's: the face is that one's.
    for (const Part part : {Part::low, Part::high, Part::face}) {
        if (part == Part::face && spec.over) break;
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
                if (p.alpha == 0) continue;
                dc.plot(x, spans[c].first + static_cast<int>(k),
                        p.alpha == 255 ? p.colour : lay_over(background, {p.colour, p.alpha}));
            }
        }
    }
}
