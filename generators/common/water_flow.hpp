#pragma once
#include "generators/common/water_motion.hpp"

#include <vector>

// Flowing water. Under a flow the whole surface drifts: the water at a point
// at loop time t (0..1) came from the point d x t upstream and carries what
// it had there, its texels and the point's own texture choice and shade. The
// drift d of a loop is a whole number of cells along u and along v, so after
// a loop every point holds the water it started with, and, being the same
// function of the map position on every tile, the texels stay joined across
// tile edges in every frame.

// A loop's drift, in cells along u and v.
struct CellDrift {
    int u = 0, v = 0;
};
// The drift whose direction on the screen is nearest `degrees`
// (counter-clockwise from the screen's right), the shortest of those.
CellDrift flow_drift(double degrees);

struct GridPoint {
    int i = 0, j = 0;
};

// One frame of flowing water at half width H. A frame shows the mean of the
// water that passes each point over a window of about two and a half frames'
// drift (at least 8 texels): with few
// frames the drift of one is several texels, more than the textures stay
// alike over, and a point would jump between unrelated texels and shades.
// Averaged, it changes smoothly from frame to frame, and streaks along the
// flow as fast water does; with many frames it stays sharp.
class FlowFrame {
public:
    FlowFrame(const WaterPhase& phase, int half_width);

    // Where the water at grid point (i, j) reads the cell at instant k of
    // the frame (texels, not wrapped).
    CellPosition at(int i, int j, int k) const {
        const double step = 64.0 / h_;
        return {i * step - shift_u_[static_cast<std::size_t>(k)], j * step - shift_v_[static_cast<std::size_t>(k)]};
    }
    // The grid point (0..H-1 each way) whose water that is: the point that
    // read the cell there when the loop began.
    GridPoint source(CellPosition at) const;

    // The mean over the frame's instants of colour_of(source, at): the
    // water's colour as the point it came from paints it at `at`.
    template <class ColourOf>
    Colour colour(int i, int j, ColourOf&& colour_of) const {
        int sum_r = 0, sum_g = 0, sum_b = 0;
        const int n = static_cast<int>(shift_u_.size());
        for (int k = 0; k < n; ++k) {
            const CellPosition here = at(i, j, k);
            const Colour c = colour_of(source(here), here);
            sum_r += red(c), sum_g += green(c), sum_b += blue(c);
        }
        const auto mean = [n](int sum) { return (2 * sum + n) / (2 * n); };
        return rgb(mean(sum_r), mean(sum_g), mean(sum_b));
    }

private:
    int h_;
    std::vector<double> shift_u_, shift_v_;  // texels, one an instant
};
