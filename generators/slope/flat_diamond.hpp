#pragma once
#include "generators/common/grid_point.hpp"

#include <vector>

// What FlatDiamond::at gives for a pixel that no grid point covers.
constexpr GridPoint no_grid_point{-1, -1};

// Where a tile lies from another on an isometric map, by its cell's corner
// it shares: an edge neighbour shares two corners, the others one.
enum class Across { up_left, up_right, down_left, down_right, above, below, left, right, nothing };

// The flat diamond as the ground painters lay it (diamond_pixel, each point
// with the pixel to its right, later points over earlier): which grid point
// shows at each pixel, and for each column where the tile's rows end and
// which neighbour on a map lies across each end.
//
// A raised surface is drawn by looking up the flat pixel it lifts: the
// ground's texture then lies exactly as on flat ground, and neighbours agree
// along every edge.
class FlatDiamond {
public:
    explicit FlatDiamond(int half_width);
    int half_width() const { return h_; }
    // Canvas columns left() .. right() hold the diamond; column x holds rows
    // top(x) .. bottom(x) - 1.
    int left() const { return left_; }
    int right() const { return left_ + columns_ - 1; }
    int top(int x) const { return tops_[x - left_]; }
    int bottom(int x) const { return bottoms_[x - left_]; }
    GridPoint at(int x, int y) const;
    // The neighbour whose flat pixels lie just above (below) column x.
    Across above(int x) const { return above_[x - left_]; }
    Across below(int x) const { return below_[x - left_]; }
    // The canvas row of the top corner's upper side (the grid's v = 0 line
    // meets u = 0 there), and the columns of the corners' centres.
    double top_row() const { return top_row_; }
    int corner_x_left() const { return corner_x_top_ - h_; }
    int corner_x_top() const { return corner_x_top_; }

private:
    bool holds(int x, int y) const;
    Across across(int x, int y) const;
    int h_, left_ = 0, top_ = 0, columns_ = 0, rows_ = 0;
    int corner_x_top_ = 0;
    double top_row_ = 0;
    std::vector<GridPoint> points_;
    std::vector<int> tops_, bottoms_;
    std::vector<Across> above_, below_;
};
