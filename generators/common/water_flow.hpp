#pragma once
#include "generators/common/grid_point.hpp"
#include "generators/common/water_motion.hpp"

#include <cstdint>
#include <memory>
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
    CellPosition at(int i, int j, int k) const { return {i * step_ - drift_u_[k], j * step_ - drift_v_[k]}; }
    // The grid point (0..H-1 each way) whose water that is: the point that
    // read the cell there when the loop began.
    GridPoint source(CellPosition at) const;
    // The memory its tables hold.
    std::size_t bytes() const;

    // The mean over the frame's instants of the water's colour at grid point
    // (i, j), each 0..H-1: at each, the texel under the point, blended
    // between the four nearest, of the cell and times the shade of the point
    // the water came from (carried(GridPoint) -> CarriedWater).
    template <class Carried>
    Colour colour(const RasterImage& sheet, int i, int j, Carried&& carried) const {
        const AxisRead* along_u = &reads_u_[static_cast<std::size_t>(i) * instants_];
        const AxisRead* along_v = &reads_v_[static_cast<std::size_t>(j) * instants_];
        // The sums stay in registers: kept behind a pointer, each would be
        // stored and loaded again around every texel read.
        double r = 0, g = 0, b = 0;
        for (int k = 0; k < instants_; ++k) {
            const CarriedWater water = carried(GridPoint{along_u[k].source, along_v[k].source});
            const Blend blend = blend_at(sheet, water, along_u[k], along_v[k]);
            for (int n = 0; n < 4; ++n) {
                r += blend.texel[n][0] * blend.weight[n];
                g += blend.texel[n][1] * blend.weight[n];
                b += blend.texel[n][2] * blend.weight[n];
            }
        }
        return mean_colour(r, g, b);
    }

private:
    // A point's position along one axis at one instant, split as the blend
    // reads it. The position moves along u with i alone and along v with j
    // alone, so a frame finds these once for every row and instant rather
    // than once for every point and instant.
    struct AxisRead {
        int texel = 0, next = 0;  // the two nearest texels, wrapped onto the cell
        int source = 0;           // the grid coordinate whose water is there
        double weight = 0;        // of the next texel
        double rest = 1;          // of the first: 1 - weight
    };
    AxisRead axis_read(double at) const;

    // The four texels nearest a point's position and their weights, times
    // the shade of the water there.
    struct Blend {
        const std::uint8_t* texel[4];
        double weight[4];
    };
    static Blend blend_at(const RasterImage& sheet, CarriedWater water, const AxisRead& u, const AxisRead& v) {
        const double shade = water.shade;
        Blend blend{{}, {u.rest * v.rest * shade, u.weight * v.rest * shade, u.rest * v.weight * shade,
                         u.weight * v.weight * shade}};
        if (water.x0 >= 0 && water.y0 >= 0 && water.x0 <= sheet.width() - 64 && water.y0 <= sheet.height() - 64) {
            const std::uint8_t* top = sheet.row(water.y0 + v.texel) + 3 * water.x0;
            const std::uint8_t* bottom = sheet.row(water.y0 + v.next) + 3 * water.x0;
            blend.texel[0] = top + 3 * u.texel, blend.texel[1] = top + 3 * u.next;
            blend.texel[2] = bottom + 3 * u.texel, blend.texel[3] = bottom + 3 * u.next;
        } else {  // a cell off the sheet reads as no colour where it leaves it
            blend.texel[0] = texel_or_none(sheet, water.x0 + u.texel, water.y0 + v.texel);
            blend.texel[1] = texel_or_none(sheet, water.x0 + u.next, water.y0 + v.texel);
            blend.texel[2] = texel_or_none(sheet, water.x0 + u.texel, water.y0 + v.next);
            blend.texel[3] = texel_or_none(sheet, water.x0 + u.next, water.y0 + v.next);
        }
        return blend;
    }
    static const std::uint8_t* texel_or_none(const RasterImage& sheet, int x, int y);
    Colour mean_colour(double r, double g, double b) const;

    int h_;
    double step_;
    int instants_ = 1;
    std::vector<double> drift_u_, drift_v_;  // texels drifted by each instant
    std::vector<AxisRead> reads_u_, reads_v_;  // [i or j * instants + k]
};

// The frame for this phase and half width, shared: the tiles of a run drawn
// at the same phase read the same one, found once.
std::shared_ptr<const FlowFrame> shared_flow_frame(const WaterPhase& phase, int half_width);
