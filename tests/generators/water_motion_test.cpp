// Moving water: frames of a loop that differ, change smoothly, close the loop
// and move nothing but water.
#include "generators/common/water_motion.hpp"
#include "generator_test_support.hpp"
#include "terrain_test_support.hpp"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {
// The summed channel differences of two canvases.
long long distance(const RasterImage& a, const RasterImage& b) {
    long long sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const Colour p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(red(p) - red(q)) + std::abs(green(p) - green(q)) + std::abs(blue(p) - blue(q));
        }
    return sum;
}

// Frame f of n drawn from the same seed; the next draw the stream would make
// tells whether the frame consumed the same draws.
struct Frame {
    RasterImage canvas;
    std::int32_t next_draw = 0;
};
Frame draw_frame(TileRig& rig, int tab, int width_item, WaterPhase phase, std::uint64_t seed) {
    rig.request.water_phase = phase;
    rig.app->random().seed(seed);
    rig.draw(tab, width_item);
    return {rig.canvas(), random_below(rig.app->random(), 1 << 30)};
}
}  // namespace

TEST(WaterMotion, TheFieldIsPeriodicOverTheCellAndTheLoop) {
    for (const int frames : {2, 5, 16}) {
        for (int f = 0; f <= frames; ++f) {
            const WaterPhase phase{f, frames}, again{f + frames, frames};
            for (const double u : {0.0, 3.5, 40.25})
                for (const double v : {0.0, 17.0, 63.5}) {
                    const CellPosition at = moving_position(u, v, phase);
                    // One cell on in either direction, or one loop on, lands
                    // on the same texel of the cell.
                    for (const CellPosition other : {moving_position(u + 64, v, phase),
                                                     moving_position(u, v + 64, phase), moving_position(u, v, again)}) {
                        EXPECT_NEAR(std::remainder(other.u - at.u, 64.0), 0.0, 1e-9);
                        EXPECT_NEAR(std::remainder(other.v - at.v, 64.0), 0.0, 1e-9);
                    }
                }
        }
    }
    const CellPosition still = moving_position(12.5, 7.25, WaterPhase{});
    EXPECT_EQ(still.u, 12.5);
    EXPECT_EQ(still.v, 7.25);
}

TEST(WaterMotion, WaterFramesDifferMoveSmoothlyAndCloseTheLoop) {
    constexpr int frames = 16;
    TileRig rig;
    const Frame still = draw_frame(rig, tab_water, 6, WaterPhase{}, 9);
    std::vector<Frame> loop;
    for (int f = 0; f < frames; ++f) loop.push_back(draw_frame(rig, tab_water, 6, WaterPhase{f, frames}, 9));
    long long longest_step = 0, shortest_step = -1, shortest_half = -1;
    for (int f = 0; f < frames; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(painted_pixels(loop[f].canvas), painted_pixels(still.canvas));
        EXPECT_EQ(loop[f].next_draw, still.next_draw);
        // The last step, back to frame 0, is one like the others.
        const long long step = distance(loop[f].canvas, loop[(f + 1) % frames].canvas);
        const long long half = distance(loop[f].canvas, loop[(f + frames / 2) % frames].canvas);
        EXPECT_GT(step, 0);
        longest_step = std::max(longest_step, step);
        shortest_step = shortest_step < 0 ? step : std::min(shortest_step, step);
        shortest_half = shortest_half < 0 ? half : std::min(shortest_half, half);
    }
    EXPECT_LT(longest_step, shortest_half) << shortest_step;
    EXPECT_LT(longest_step, 2 * shortest_step);  // no step jumps
    // Frame n is frame 0 again.
    EXPECT_EQ(distance(draw_frame(rig, tab_water, 6, WaterPhase{frames, frames}, 9).canvas, loop[0].canvas), 0);
}

TEST(WaterMotion, OnTerrainOnlyThePoolAndTheSwampMove) {
    TileRig rig;
    terrain_test::tick_only(rig, {ctl::pool, ctl::swamp, ctl::grass, ctl::boulder, ctl::bush});
    const RasterImage real_sheet = rig.state().ground_sheet.image;
    // Water found as the pixels that change when the water cells turn magenta.
    RasterImage magenta_sheet = real_sheet;
    for (int y = 320; y < 384; ++y)
        for (int x = 0; x < 640; ++x) magenta_sheet.set_pixel(x, y, rgb(255, 0, 255));
    rig.state().ground_sheet.image = magenta_sheet;
    const RasterImage marked = draw_frame(rig, tab_terrain, 6, WaterPhase{}, 4).canvas;
    rig.state().ground_sheet.image = real_sheet;
    const Frame still = draw_frame(rig, tab_terrain, 6, WaterPhase{}, 4);

    int water = 0;
    for (const int f : {0, 3, 6}) {
        SCOPED_TRACE(f);
        const Frame frame = draw_frame(rig, tab_terrain, 6, WaterPhase{f, 12}, 4);
        EXPECT_EQ(frame.next_draw, still.next_draw);
        int moved = 0, moved_dry = 0;
        for (int y = 0; y < marked.height(); ++y)
            for (int x = 0; x < marked.width(); ++x) {
                const bool wet = marked.pixel(x, y) != still.canvas.pixel(x, y);
                water += f == 0 && wet;
                if (frame.canvas.pixel(x, y) == still.canvas.pixel(x, y)) continue;
                ++moved;
                moved_dry += !wet;
            }
        EXPECT_GT(moved, water / 4);
        EXPECT_EQ(moved_dry, 0);
    }
    EXPECT_GT(water, 500);
}
