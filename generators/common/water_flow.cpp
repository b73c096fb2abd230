#include "generators/common/water_flow.hpp"

#include "canvas/numbers.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr double cell = 64.0;
constexpr double pi = 3.141592653589793;
// Instants a grid step of drift: enough that the water's own points blend
// rather than switch.
constexpr int instants_a_step = 2;
constexpr int most_instants = 256;
// A frame's window spans two and a half frames' drift: over one, an edge in
// a texture would cross the whole window in a frame and the point would
// still jump. Where that is short, at least 3 sqrt(drift) grid steps, so
// that the mean of the shades the water brings changes by a small part from
// frame to frame, and at least 8 texels, the width of the textures' finest
// lines and crests.
constexpr double shutter = 2.5;
constexpr double least_texels = 8.0;
constexpr double window_reach = 3.0;

int wrap(int at, int period) {
    const int r = at % period;
    return r < 0 ? r + period : r;
}
}  // namespace

CellDrift flow_drift(double degrees) {
    const double wanted = degrees * pi / 180.0;
    CellDrift best;
    double best_error = 10, best_length = 0;
    // Two cells either way give directions at most 17 degrees apart from any.
    for (int u = -2; u <= 2; ++u)
        for (int v = -2; v <= 2; ++v) {
            if (u == 0 && v == 0) continue;
            // u runs to the right corner, v to the left: on the screen a
            // cell along u is (1, -1/2) with y up, along v (-1, -1/2).
            const double x = u - v, y = -(u + v) / 2.0;
            const double error = std::abs(std::remainder(std::atan2(y, x) - wanted, 2 * pi));
            const double length = u * u + v * v;
            if (error < best_error - 1e-9 || (error < best_error + 1e-9 && length < best_length)) {
                best = {u, v};
                best_error = error;
                best_length = length;
            }
        }
    return best;
}

FlowFrame::FlowFrame(const WaterPhase& phase, int half_width)
    : h_(std::max(1, half_width)),
      step_(cell / std::max(1, half_width)) {
    // The drift is the same for every point of a draw: found once a thread.
    thread_local double drift_for = std::nan("");
    thread_local CellDrift drift;
    const double degrees = phase.flow.value_or(0.0);
    if (!(drift_for == degrees)) drift = flow_drift(degrees), drift_for = degrees;
    const int frames = std::max(1, phase.frames);
    // Grid steps the water moves in a frame, along the axis it moves most.
    const double steps = static_cast<double>(std::max(std::abs(drift.u), std::abs(drift.v))) * h_ / frames;
    const double window = std::max({shutter * steps, window_reach * std::sqrt(steps), least_texels * h_ / cell});
    instants_ = std::min(most_instants, static_cast<int>(std::ceil(instants_a_step * window - 1e-9)));
    // The frame's instants spread evenly over a window centred on it, in
    // loops; the frame is taken within the loop so the last leads exactly
    // into the first.
    centre_ = static_cast<double>(((phase.frame % frames) + frames) % frames) / frames;
    span_ = window / (steps * frames);
    shift_u_ = cell * drift.u;
    shift_v_ = cell * drift.v;
}

GridPoint FlowFrame::source(CellPosition at) const {
    return {wrap(nearest_to_int(at.u / step_), h_), wrap(nearest_to_int(at.v / step_), h_)};
}

void FlowFrame::add_texel(const RasterImage& sheet, CarriedWater water, CellPosition at, double* sum) {
    const double fu = std::floor(at.u), fv = std::floor(at.v);
    const double wu = at.u - fu, wv = at.v - fv;
    const int u0 = wrap(static_cast<int>(fu), 64), v0 = wrap(static_cast<int>(fv), 64);
    const int u1 = (u0 + 1) & 63, v1 = (v0 + 1) & 63;
    const Colour c[4] = {sheet.colour_at(water.x0 + u0, water.y0 + v0), sheet.colour_at(water.x0 + u1, water.y0 + v0),
                         sheet.colour_at(water.x0 + u0, water.y0 + v1), sheet.colour_at(water.x0 + u1, water.y0 + v1)};
    const double w[4] = {(1 - wu) * (1 - wv) * water.shade, wu * (1 - wv) * water.shade, (1 - wu) * wv * water.shade,
                         wu * wv * water.shade};
    for (int k = 0; k < 4; ++k) {
        sum[0] += red(c[k]) * w[k];
        sum[1] += green(c[k]) * w[k];
        sum[2] += blue(c[k]) * w[k];
    }
}

Colour FlowFrame::mean_colour(const double* sum) const {
    const auto mean = [this](double total) { return std::clamp(nearest_to_int(total / instants_), 0, 255); };
    return rgb(mean(sum[0]), mean(sum[1]), mean(sum[2]));
}
