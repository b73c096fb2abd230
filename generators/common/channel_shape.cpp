#include "generators/common/channel_shape.hpp"

#include "canvas/mix_hash.hpp"

#include <algorithm>
#include <cmath>

namespace {
using Point = std::array<double, 2>;
constexpr double pi = 3.141592653589793;
constexpr int edges[4] = {edge_ne, edge_se, edge_sw, edge_nw};
constexpr int samples = 24;  // points along a branch

// Each edge's middle and the way into the tile from it, in (u, v).
Point middle(int edge) {
    switch (edge) {
        case edge_ne: return {0.5, 0.0};
        case edge_se: return {1.0, 0.5};
        case edge_sw: return {0.5, 1.0};
        default: return {0.0, 0.5};
    }
}
std::array<int, 2> inward(int edge) {
    const auto [dx, dy] = edge_step(edge);
    return {-dx, -dy};
}
// The corner two neighbouring edges share.
Point shared_corner(int a, int b) {
    const Point ma = middle(a), mb = middle(b);
    // Each middle lies on its edge's line: u or v fixed at 0 or 1.
    const bool a_fixes_u = a == edge_se || a == edge_nw;
    return a_fixes_u ? Point{ma[0], mb[1]} : Point{mb[0], ma[1]};
}
// The middles of the water corners, or the tile's middle.
Point water_middle(int corners) {
    const Point at[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};  // top, right, bottom, left
    Point sum{0, 0};
    int n = 0;
    for (int k = 0; k < 4; ++k)
        if (corners & (1 << k)) sum[0] += at[k][0], sum[1] += at[k][1], ++n;
    if (n == 0) return {0.5, 0.5};
    return {sum[0] / n, sum[1] / n};
}

// How far the branch bows off its straight course at t (0..1): nothing at
// either end and flat there, so it meets each edge square and a place on
// the edge lies nearest the branch's end, as in the tile across.
double bow(double t, double first, double second) {
    const double s = std::sin(pi * t);
    return s * s * s * s * (first + second * std::sin(2 * pi * t));
}
double unit(std::uint64_t h) { return static_cast<double>(h >> 11) / static_cast<double>(1ULL << 53); }
}  // namespace

ChannelShape::Banks channel_banks(int half_width) {
    const double h = std::max(1, half_width);
    const double reach = std::max(2.0, 2.4 * h / 32.0) * 1.4 / h;
    return {reach, reach + 1.5 / h};
}

double ChannelShape::half_width(int width_class, Banks banks) {
    if (width_class <= 0) return 0.0;
    // Across an edge the banks of the widest reach no nearer the corners
    // than a spring's keep clear of an edge, so no tile cuts them short.
    const double widest = std::max(0.08, 0.5 - banks.keep_off - banks.reach);
    const double narrowest = std::min(0.14, widest);
    const double t = static_cast<double>(std::min(width_class, channel_widths) - 1) / (channel_widths - 1);
    return narrowest + (widest - narrowest) * t;
}

ChannelShape::ChannelShape(const RiverChannel& channel, int water_corners, int variant, Banks banks)
    : free_(15 & ~channel.edges()) {
    const auto half_width = [&](int width_class) { return ChannelShape::half_width(width_class, banks); };
    const std::uint64_t seed = mix_hash(0x63686e6cULL ^ static_cast<std::uint64_t>(channel.packed()) << 8 ^
                                        static_cast<std::uint64_t>(variant));
    const double half_out = channel.out ? half_width(channel.width(channel.out)) : 0.0;
    const auto add = [&](Point from, Point to, Point from_dir, double from_half, double to_half,
                         std::array<int, 2> enters, std::array<int, 2> leaves, bool curved, Point corner) {
        Branch b;
        b.from_half = from_half, b.to_half = to_half, b.enters = enters, b.leaves = leaves;
        // Room to bow: the banks stay well clear of the edges it does not cross.
        const double room = std::max(0.0, 0.5 - banks.keep_off - std::max(from_half, to_half));
        const std::uint64_t h = mix_hash(seed + branches_.size());
        const double first = room * (2 * unit(h) - 1), second = room * 0.6 * (2 * unit(mix_hash(h)) - 1);
        for (int k = 0; k <= samples; ++k) {
            const double t = static_cast<double>(k) / samples, off = bow(t, first, second);
            if (curved) {
                // A quarter turn about the corner, its radius bowing out
                // only: bowed in, the bank would near the two edges it
                // crosses beside their shared corner.
                const double a0 = std::atan2(from[1] - corner[1], from[0] - corner[0]);
                double a1 = std::atan2(to[1] - corner[1], to[0] - corner[0]);
                if (a1 - a0 > pi) a1 -= 2 * pi;
                if (a0 - a1 > pi) a1 += 2 * pi;
                const double a = a0 + (a1 - a0) * t, r = 0.5 + std::abs(off);
                b.points.push_back({corner[0] + r * std::cos(a), corner[1] + r * std::sin(a)});
            } else {
                // Straight, or leaving its edge square before heading on.
                const Point lead{from[0] + 0.22 * from_dir[0], from[1] + 0.22 * from_dir[1]};
                const bool square = from_dir[0] != 0 || from_dir[1] != 0;
                const Point p = square && t < 0.3 ? Point{from[0] + (lead[0] - from[0]) * t / 0.3,
                                                          from[1] + (lead[1] - from[1]) * t / 0.3}
                                : square          ? Point{lead[0] + (to[0] - lead[0]) * (t - 0.3) / 0.7,
                                                          lead[1] + (to[1] - lead[1]) * (t - 0.3) / 0.7}
                                                  : Point{from[0] + (to[0] - from[0]) * t, from[1] + (to[1] - from[1]) * t};
                const double du = to[0] - from[0], dv = to[1] - from[1], length = std::hypot(du, dv);
                const double nu = length > 0 ? -dv / length : 0, nv = length > 0 ? du / length : 0;
                b.points.push_back({p[0] + off * nu, p[1] + off * nv});
            }
        }
        branches_.push_back(std::move(b));
    };

    const Point water = water_middle(water_corners);
    for (const int e : edges) {
        if (!(channel.in & e)) continue;
        const auto [iu, iv] = inward(e);
        const double half_in = half_width(channel.width(e));
        if (channel.out && !water_corners) {
            const int o = channel.out;
            const auto [ou, ov] = inward(o);
            const bool turn = o != opposite_edge(e);
            add(middle(e), middle(o), {0, 0}, half_in, half_out, {iu, iv}, {-ou, -ov}, turn, turn ? shared_corner(e, o) : Point{});
        } else {
            // Into the tile's water (or a pool in its middle), square from its edge.
            add(middle(e), water, {static_cast<double>(iu), static_cast<double>(iv)}, half_in,
                water_corners ? half_in : half_in * 0.8, {iu, iv}, {iu, iv}, false, {});
        }
    }
    if (channel.out && (!channel.in || water_corners)) {
        // A spring in the middle, or the water of the tile, to the edge out.
        const int o = channel.out;
        const auto [ou, ov] = inward(o);
        Point from = water;
        if (!water_corners) from = {0.5 + 0.1 * ou, 0.5 + 0.1 * ov};
        // Built from the edge inwards, then reversed, so that it leaves the edge square.
        add(middle(o), from, {static_cast<double>(ou), static_cast<double>(ov)}, half_out,
            water_corners ? half_out : half_out * 0.55, {-ou, -ov}, {-ou, -ov}, false, {});
        Branch& b = branches_.back();
        std::reverse(b.points.begin(), b.points.end());
        std::swap(b.from_half, b.to_half);
    }
}

ChannelShape::Place ChannelShape::at(double u, double v) const {
    Place best;
    best.depth = -1e9;
    for (std::size_t k = 0; k < branches_.size(); ++k) {
        const Branch& b = branches_[k];
        for (std::size_t s = 0; s + 1 < b.points.size(); ++s) {
            const Point& p = b.points[s];
            const Point& q = b.points[s + 1];
            const double du = q[0] - p[0], dv = q[1] - p[1];
            const double length2 = du * du + dv * dv;
            const double f = length2 > 0 ? std::clamp(((u - p[0]) * du + (v - p[1]) * dv) / length2, 0.0, 1.0) : 0.0;
            const double distance = std::hypot(u - p[0] - f * du, v - p[1] - f * dv);
            const double along = (static_cast<double>(s) + f) / (b.points.size() - 1);
            const double bank = b.from_half + (b.to_half - b.from_half) * along;
            if (bank - distance > best.depth) best = {bank - distance, bank, static_cast<int>(k), along};
        }
    }
    return best;
}

double ChannelShape::free_distance(double u, double v) const {
    double nearest = 1e9;
    if (free_ & edge_ne) nearest = std::min(nearest, v);
    if (free_ & edge_se) nearest = std::min(nearest, 1 - u);
    if (free_ & edge_sw) nearest = std::min(nearest, 1 - v);
    if (free_ & edge_nw) nearest = std::min(nearest, u);
    return nearest;
}

ChannelShape::Run ChannelShape::run(const Place& place) const {
    Run r;
    if (place.branch < 0) return r;
    const Branch& b = branches_[static_cast<std::size_t>(place.branch)];
    r.first = b.enters, r.second = b.leaves;
    if (b.enters == b.leaves) return r;
    // The turn from the way in to the way out, in the middle third.
    const double t = std::clamp((place.along - 1.0 / 3) * 3, 0.0, 1.0);
    r.second_share = t * t * (3 - 2 * t);
    return r;
}
