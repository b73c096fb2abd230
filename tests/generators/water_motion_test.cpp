// Moving water: frames of a loop that differ, change smoothly, close the loop
// and move nothing but water.
#include "generators/common/water_flow.hpp"
#include "generators/common/water_motion.hpp"
#include "generator_test_support.hpp"
#include "terrain_test_support.hpp"

#include <algorithm>
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

TEST(WaterFlow, FlowingWaterClosesItsLoopAndMeetsItsNeighbours) {
    constexpr int frames = 8;
    TileRig rig;
    const Frame still = draw_frame(rig, tab_water, 6, WaterPhase{}, 5);
    const Frame first = draw_frame(rig, tab_water, 6, WaterPhase{0, frames, 200.0}, 5);
    const Frame next = draw_frame(rig, tab_water, 6, WaterPhase{1, frames, 200.0}, 5);
    const Frame again = draw_frame(rig, tab_water, 6, WaterPhase{frames, frames, 200.0}, 5);
    EXPECT_EQ(first.next_draw, still.next_draw);  // the same draws, in the same order
    EXPECT_EQ(painted_pixels(first.canvas), painted_pixels(still.canvas));
    EXPECT_GT(distance(first.canvas, next.canvas), 0);
    EXPECT_EQ(distance(first.canvas, again.canvas), 0);

    // On a texture of fine bright cells no more than a few pixels jump from
    // one frame to the next, the last to the first included.
    for (const int lock : {ctl::lock_water_texture_1, ctl::lock_water_texture_2}) rig.controls().write(lock, 1);
    rig.state().water_texture_1 = rig.state().water_texture_2 = 9;
    std::vector<RasterImage> loop;
    for (int f = 0; f < 2 * frames; ++f)
        loop.push_back(draw_frame(rig, tab_water, 6, WaterPhase{f, 2 * frames, 30.0}, 5).canvas);
    long long water = 0, jumps = 0;
    for (int f = 0; f < 2 * frames; ++f)
        for (const auto& [x, y] : painted_pixels(loop[0])) {
            const Colour p = loop[f].pixel(x, y), q = loop[(f + 1) % (2 * frames)].pixel(x, y);
            ++water;
            jumps +=
                std::max({std::abs(red(p) - red(q)), std::abs(green(p) - green(q)), std::abs(blue(p) - blue(q))}) > 48;
        }
    EXPECT_LT(jumps * 200, water) << jumps << " of " << water;

    // A neighbour's point is the same function of the map position: the
    // point one tile on along u or v reads the cell a whole cell further on,
    // and carries the water of the same grid point.
    const int h = rig.half_width();
    for (const double angle : {0.0, 45.0, 200.0}) {
        const FlowFrame frame(WaterPhase{3, frames, angle}, h);
        for (const int k : {0, 5})
            for (const int j : {0, h / 2, h - 1}) {
                const CellPosition here = frame.at(h - 1, j, k), on_u = frame.at(2 * h - 1, j, k),
                                   on_v = frame.at(j, 2 * h - 1, k), start = frame.at(j, h - 1, k);
                EXPECT_NEAR(on_u.u - here.u, 64.0, 1e-9);
                EXPECT_NEAR(on_v.v - start.v, 64.0, 1e-9);
                EXPECT_EQ(frame.source(on_u).i, frame.source(here).i);
                EXPECT_EQ(frame.source(on_v).j, frame.source(start).j);
            }
    }
}

TEST(WaterFlow, WaterDriftsTheWayItIsTold) {
    // Both water cells dark with one bright blob: the blob's centre moves
    // across the screen the way the flow points.
    TileRig rig;
    for (const int lock : {ctl::lock_water_texture_1, ctl::lock_water_texture_2}) rig.controls().write(lock, 1);
    rig.state().water_texture_1 = rig.state().water_texture_2 = 0;
    RasterImage& sheet = rig.state().ground_sheet.image;
    for (int y = 320; y < 384; ++y)
        for (int x = 0; x < 64; ++x) {
            const int dx = x - 32, dy = y - 352;
            sheet.set_pixel(x, y, dx * dx + dy * dy < 36 ? rgb(250, 250, 250) : rgb(10, 10, 40));
        }
    const auto centre = [](const RasterImage& image) {
        double x = 0, y = 0, weight = 0;
        for (int py = 0; py < image.height(); ++py)
            for (int px = 0; px < image.width(); ++px) {
                const int bright = red(image.pixel(px, py));
                if (bright < 40) continue;
                x += bright * px, y += bright * py, weight += bright;
            }
        return std::pair{x / weight, y / weight};
    };
    for (const double angle : {0.0, 30.0, 90.0, 150.0, 200.0, 300.0}) {
        SCOPED_TRACE(angle);
        const auto [x0, y0] = centre(draw_frame(rig, tab_water, 6, WaterPhase{0, 64, angle}, 3).canvas);
        const auto [x1, y1] = centre(draw_frame(rig, tab_water, 6, WaterPhase{2, 64, angle}, 3).canvas);
        const double moved = std::atan2(-(y1 - y0), x1 - x0) * 180 / 3.141592653589793;
        EXPECT_LT(std::abs(std::remainder(moved - angle, 360.0)), 20.0) << moved;
    }
}

TEST(WaterFlow, ASharedFrameIsTheFrameOfItsOwnPhaseAndWidth) {
    // A thread draws tiles of several phases, widths and flows in any order:
    // each reads the frame its own phase and width make.
    RasterImage sheet(128, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) sheet.set_pixel(x, y, rgb((37 * x + 11 * y) % 256, (x * y) % 256, (x + 3 * y) % 256));
    const auto carried = [](GridPoint from) {
        return CarriedWater{(from.i + from.j) % 2 * 64, 0, 0.5f + 0.01f * static_cast<float>(from.i)};
    };
    const std::pair<WaterPhase, int> draws[] = {{{1, 8, 45.0}, 32}, {{2, 8, 45.0}, 32}, {{1, 8, 120.0}, 32},
                                                {{1, 8, 45.0}, 20}, {{1, 3, 45.0}, 32}, {{9, 8, 45.0}, 32}};
    for (const auto& [phase, h] : draws) {
        const FlowFrame own(phase, h);
        const std::shared_ptr<const FlowFrame> shared = shared_flow_frame(phase, h);
        for (const int i : {0, h / 2, h - 1})
            for (const int j : {0, h - 1})
                EXPECT_EQ(shared->colour(sheet, i, j, carried), own.colour(sheet, i, j, carried))
                    << phase.frame << " of " << phase.frames << " at " << h;
    }
}
