#include "generators/slope/column_span.hpp"

#include "generators/transition/transition_set.hpp"

#include <algorithm>

namespace {
// The smallest whole n with n * d >= a (d > 0).
int ceil_div(long long a, long long d) { return static_cast<int>(a >= 0 ? (a + d - 1) / d : -((-a) / d)); }

void corner_uv(int corner, double& u, double& v) {
    u = corner == corner_right || corner == corner_bottom ? 1.0 : 0.0;
    v = corner == corner_left || corner == corner_bottom ? 1.0 : 0.0;
}
}  // namespace

ColumnEnd column_end(const FlatDiamond& d, int x, bool upper) {
    const int h = d.half_width(), x_top = d.corner_x_top();
    Across across = upper ? d.above(x) : d.below(x);
    if (across == Across::nothing)
        across = upper ? (x < x_top ? Across::up_left : Across::up_right)
                       : (x < x_top ? Across::down_left : Across::down_right);
    // An edge from the corner whose column is x0, half a width to the right.
    const auto edge = [&](int from, int to, int x0) {
        return ColumnEnd{from, to, std::clamp(2 * (x - x0) + 1, 0, 2 * h)};
    };
    switch (across) {
        case Across::up_left: return edge(corner_left, corner_top, d.corner_x_left());
        case Across::up_right: return edge(corner_top, corner_right, x_top);
        case Across::down_left: return edge(corner_left, corner_bottom, d.corner_x_left());
        case Across::down_right: return edge(corner_bottom, corner_right, x_top);
        case Across::above: return {corner_top, corner_top, 0};
        case Across::below: return {corner_bottom, corner_bottom, 0};
        case Across::left: return {corner_left, corner_left, 0};
        default: return {corner_right, corner_right, 0};
    }
}

void column_end_uv(const ColumnEnd& end, int h, double& u, double& v) {
    double u0, v0, u1, v1;
    corner_uv(end.from, u0, v0);
    corner_uv(end.to, u1, v1);
    const double t = end.k / (2.0 * h);
    u = u0 + t * (u1 - u0), v = v0 + t * (v1 - v0);
}

ColumnSpan span_between(const FlatDiamond& d, int x, long long top_lift, long long bottom_lift) {
    // Row y is the tile's when its centre, y + 1/2, lies between the lifted ends.
    const long long h2 = 2LL * d.half_width();
    return {ceil_div(h2 * d.top(x) - top_lift - d.half_width(), h2),
            ceil_div(h2 * d.bottom(x) - bottom_lift - d.half_width(), h2)};
}

int CornerHeights::at(int corner_bit) const {
    switch (corner_bit) {
        case corner_top: return top;
        case corner_right: return right;
        case corner_bottom: return bottom;
        default: return left;
    }
}

long long slope_end_lift(const ColumnEnd& end, const CornerHeights& c, int h) {
    if (end.from == end.to) return 2LL * h * c.at(end.from);
    return static_cast<long long>(c.at(end.from)) * (2LL * h - end.k) + static_cast<long long>(c.at(end.to)) * end.k;
}

ColumnSpan slope_span(const FlatDiamond& d, const CornerHeights& c, int x) {
    const int h = d.half_width();
    return span_between(d, x, slope_end_lift(column_end(d, x, true), c, h),
                        slope_end_lift(column_end(d, x, false), c, h));
}
