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
// The shared frames a thread keeps: a loop's frames at one width, whose
// tiles are drawn one after another, each through the whole loop, within a
// few megabytes.
constexpr std::size_t kept_frames = 16;
constexpr std::size_t kept_bytes = std::size_t{8} << 20;

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

namespace {
// The drift is the same for every point of a draw: found once a thread.
CellDrift phase_drift(const WaterPhase& phase) {
    thread_local double drift_for = std::nan("");
    thread_local CellDrift drift;
    const double degrees = phase.flow.value_or(0.0);
    if (!(drift_for == degrees)) drift = flow_drift(degrees), drift_for = degrees;
    return drift;
}
}  // namespace

FlowFrame::FlowFrame(const WaterPhase& phase, int half_width) : FlowFrame(phase, half_width, phase_drift(phase)) {}

FlowFrame::FlowFrame(const WaterPhase& phase, int half_width, CellDrift drift)
    : h_(std::max(1, half_width)),
      step_(cell / std::max(1, half_width)) {
    const int frames = std::max(1, phase.frames);
    // Grid steps the water moves in a frame, along the axis it moves most.
    const double steps = static_cast<double>(std::max(std::abs(drift.u), std::abs(drift.v))) * h_ / frames;
    const double window = std::max({shutter * steps, window_reach * std::sqrt(steps), least_texels * h_ / cell});
    instants_ = std::min(most_instants, static_cast<int>(std::ceil(instants_a_step * window - 1e-9)));
    // The frame's instants spread evenly over a window centred on it, in
    // loops; the frame is taken within the loop so the last leads exactly
    // into the first.
    const double centre = static_cast<double>(((phase.frame % frames) + frames) % frames) / frames;
    const double span = window / (steps * frames);
    const double shift_u = cell * drift.u, shift_v = cell * drift.v;  // texels a loop
    drift_u_.resize(static_cast<std::size_t>(instants_));
    drift_v_.resize(static_cast<std::size_t>(instants_));
    for (int k = 0; k < instants_; ++k) {
        const double t = centre + span * ((k + 0.5) / instants_ - 0.5);
        drift_u_[k] = shift_u * t;
        drift_v_[k] = shift_v * t;
    }
    reads_u_.resize(static_cast<std::size_t>(h_) * instants_);
    reads_v_.resize(reads_u_.size());
    for (int i = 0; i < h_; ++i)
        for (int k = 0; k < instants_; ++k) {
            const CellPosition here = at(i, i, k);
            reads_u_[static_cast<std::size_t>(i) * instants_ + k] = axis_read(here.u);
            reads_v_[static_cast<std::size_t>(i) * instants_ + k] = axis_read(here.v);
        }
}

GridPoint FlowFrame::source(CellPosition at) const {
    return {wrap(nearest_to_int(at.u / step_), h_), wrap(nearest_to_int(at.v / step_), h_)};
}

FlowFrame::AxisRead FlowFrame::axis_read(double at) const {
    const double whole = std::floor(at);
    AxisRead read;
    read.texel = wrap(static_cast<int>(whole), 64);
    read.next = (read.texel + 1) & 63;
    read.source = wrap(nearest_to_int(at / step_), h_);
    read.weight = at - whole;
    read.rest = 1 - read.weight;
    return read;
}

std::size_t FlowFrame::bytes() const {
    return sizeof(AxisRead) * (reads_u_.size() + reads_v_.size()) + sizeof(double) * (drift_u_.size() + drift_v_.size());
}

const std::uint8_t* FlowFrame::texel_or_none(const RasterImage& sheet, int x, int y) {
    static constexpr std::uint8_t none[3] = {255, 255, 255};  // no_colour's channels
    return sheet.contains(x, y) ? sheet.row(y) + 3 * x : none;
}

Colour FlowFrame::mean_colour(double r, double g, double b) const {
    const auto mean = [this](double total) { return std::clamp(nearest_to_int(total / instants_), 0, 255); };
    return rgb(mean(r), mean(g), mean(b));
}

std::shared_ptr<const FlowFrame> shared_flow_frame(const WaterPhase& phase, int half_width) {
    struct Kept {
        int frame, frames, half_width;
        double degrees;
        std::shared_ptr<const FlowFrame> flow;
        std::size_t bytes;
    };
    thread_local std::vector<Kept> kept;  // oldest first
    const int frames = std::max(1, phase.frames);
    const int frame = ((phase.frame % frames) + frames) % frames;
    const int h = std::max(1, half_width);
    const double degrees = phase.flow.value_or(0.0);
    for (const Kept& k : kept)
        if (k.frame == frame && k.frames == frames && k.half_width == h && k.degrees == degrees) return k.flow;
    auto flow = std::make_shared<const FlowFrame>(phase, h);
    const std::size_t bytes = flow->bytes();
    kept.push_back({frame, frames, h, degrees, flow, bytes});
    std::size_t total = 0;
    for (const Kept& k : kept) total += k.bytes;
    while (kept.size() > 1 && (kept.size() > kept_frames || total > kept_bytes)) {
        total -= kept.front().bytes;
        kept.erase(kept.begin());
    }
    return flow;
}
