#include "generators/slope/flat_diamond.hpp"

#include "generators/common/diamond_mapping.hpp"

#include <algorithm>

FlatDiamond::FlatDiamond(int half_width) : h_(half_width) {
    const CanvasPoint top = diamond_pixel(h_, 0, 0);
    left_ = diamond_pixel(h_, 0, h_ - 1).x;
    columns_ = diamond_pixel(h_, h_ - 1, 0).x + 2 - left_;
    top_ = top.y;
    rows_ = diamond_pixel(h_, h_ - 1, h_ - 1).y + 1 - top_;
    corner_x_top_ = top.x + 1;  // the centre of the top point's pair
    top_row_ = top.y;
    points_.assign(static_cast<std::size_t>(columns_) * rows_, no_grid_point);
    for (int i = 0; i < h_; ++i)
        for (int j = 0; j < h_; ++j) {
            const CanvasPoint p = diamond_pixel(h_, i, j);
            for (int x = p.x; x <= p.x + 1; ++x)
                points_[static_cast<std::size_t>(p.y - top_) * columns_ + (x - left_)] = {i, j};
        }
    tops_.assign(columns_, 0), bottoms_.assign(columns_, 0);
    above_.assign(columns_, Across::nothing), below_.assign(columns_, Across::nothing);
    for (int c = 0; c < columns_; ++c) {
        int first = rows_, last = -1;
        for (int r = 0; r < rows_; ++r)
            if (points_[static_cast<std::size_t>(r) * columns_ + c].i >= 0) first = std::min(first, r), last = r;
        tops_[c] = top_ + first;
        bottoms_[c] = top_ + last + 1;
    }
    for (int c = 0; c < columns_; ++c) {
        above_[c] = across(left_ + c, tops_[c] - 1);
        below_[c] = across(left_ + c, bottoms_[c]);
    }
}

bool FlatDiamond::holds(int x, int y) const {
    if (x < left_ || x >= left_ + columns_ || y < top_ || y >= top_ + rows_) return false;
    return points_[static_cast<std::size_t>(y - top_) * columns_ + (x - left_)].i >= 0;
}

GridPoint FlatDiamond::at(int x, int y) const {
    if (x < left_ || x >= left_ + columns_ || y < top_ || y >= top_ + rows_) return no_grid_point;
    return points_[static_cast<std::size_t>(y - top_) * columns_ + (x - left_)];
}

Across FlatDiamond::across(int x, int y) const {
    // A map's cells lie half a width across and half a height down from
    // their neighbours; the pixel is the one whose diamond, moved so, holds it.
    const int w = h_, d = h_ / 2;
    const struct {
        int dx, dy;
        Across where;
    } cells[] = {{-w, -d, Across::up_left},  {w, -d, Across::up_right},  {-w, d, Across::down_left},
                 {w, d, Across::down_right}, {0, -2 * d, Across::above}, {0, 2 * d, Across::below},
                 {-2 * w, 0, Across::left},  {2 * w, 0, Across::right}};
    for (const auto& cell : cells)
        if (holds(x - cell.dx, y - cell.dy)) return cell.where;
    return Across::nothing;
}
