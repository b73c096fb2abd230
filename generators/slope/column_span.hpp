#pragma once
#include "generators/slope/flat_diamond.hpp"

// The rows a raised tile paints in a canvas column. Each end of the column
// is its flat row lifted by the map's surface where the tile meets the
// neighbour across: along a shared edge, that edge's height at the column;
// at a shared corner, that corner's. Both tiles work it out from what they
// share, in whole numbers, so on a map every pixel of a level belongs to
// exactly one tile.

// Where a column's end meets the neighbour: the edge from corner `from` to
// corner `to` (corner bits, `from` the left one on screen) at k / 2H of the
// way, or the corner `from` alone (from == to).
struct ColumnEnd {
    int from = 0, to = 0;
    int k = 0;
};
ColumnEnd column_end(const FlatDiamond& diamond, int x, bool upper);
// The end's place on the tile: u and v (0..1) as the corner field takes them.
void column_end_uv(const ColumnEnd& end, int half_width, double& u, double& v);

struct ColumnSpan {
    int first = 0, end = 0;  // canvas rows first .. end - 1
};
// Lifts in pixels times twice the half width.
ColumnSpan span_between(const FlatDiamond& diamond, int x, long long top_lift, long long bottom_lift);

// Corner heights in pixels.
struct CornerHeights {
    int top = 0, right = 0, bottom = 0, left = 0;
    int at(int corner_bit) const;
};
// A slope's end: the height of the straight edge (or the corner), times 2H.
long long slope_end_lift(const ColumnEnd& end, const CornerHeights& corners, int half_width);
ColumnSpan slope_span(const FlatDiamond& diamond, const CornerHeights& corners, int x);
