#pragma once
#include "generators/common/grid_point.hpp"
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

// What the water of a grid point carries: the top-left of its texture cell
// on the sheet, and its shade (1 for none).
struct CarriedWater {
    int x0 = 0, y0 = 0;
    float shade = 1.0f;
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
    // Drifting by `drift` a loop, whatever the phase's own flow.
    FlowFrame(const WaterPhase& phase, int half_width, CellDrift drift);

    int instants() const { return instants_; }
    // Where the water at grid point (i, j) reads the cell at instant k of
    // the frame (texels, not wrapped).
    CellPosition at(int i, int j, int k) const {
        const double t = centre_ + span_ * ((k + 0.5) / instants_ - 0.5);
        return {i * step_ - shift_u_ * t, j * step_ - shift_v_ * t};
    }
    // The grid point (0..H-1 each way) whose water that is: the point that
    // read the cell there when the loop began.
    GridPoint source(CellPosition at) const;

    // The mean over the frame's instants of the water's colour: at each,
    // the texel under the point, blended between the four nearest, of the
    // cell and times the shade of the point the water came from
    // (carried(GridPoint) -> CarriedWater).
    template <class Carried>
    Colour colour(const RasterImage& sheet, int i, int j, Carried&& carried) const {
        double sum[3] = {0, 0, 0};
        for (int k = 0; k < instants_; ++k) {
            const CellPosition here = at(i, j, k);
            const CarriedWater water = carried(source(here));
            add_texel(sheet, water, here, sum);
        }
        return mean_colour(sum);
    }

private:
    static void add_texel(const RasterImage& sheet, CarriedWater water, CellPosition at, double* sum);
    Colour mean_colour(const double* sum) const;

    int h_;
    double step_;
    int instants_ = 1;
    double centre_ = 0, span_ = 0;      // in loops
    double shift_u_ = 0, shift_v_ = 0;  // texels a loop
};
