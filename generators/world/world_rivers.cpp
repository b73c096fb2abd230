// Rivers, by a priority flood over the cells from the sea: each cell the
// flood reaches drains into the cell it was reached from, so following the
// drainage from anywhere leads down to the sea and never up a level. The
// flood takes the lowest cells first (by level, then elevation; within a
// filled hollow in the order the flood came), so the drainage runs down
// the valleys. Lakes are cells like any other on their level: the water of
// the rivers that run into one leaves it by the lake's own outlet.
//
// The cells that drain through a cell are counted down the drainage; a
// river is every dry cell that drains at least the threshold's worth. The
// largest river systems by the flow at their mouths are kept, each with
// its tributaries; a short stream is dropped.
#include "generators/world/world_rivers.hpp"

#include "generators/common/river_channel.hpp"
#include "generators/world/world_cell_hash.hpp"
#include "generators/world/world_flood_queue.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <optional>

namespace {
// Dry cells a river's own length must hold, without the cell it ends in:
// shorter ones are dropped, a main river or a tributary.
constexpr int shortest_river = 5;
constexpr int shortest_tributary = 3;
// A river widens where its flow passes these multiples of the threshold.
constexpr int wider_at[channel_widths - 1] = {4, 12};

constexpr int edges[4] = {edge_ne, edge_se, edge_sw, edge_nw};

// Water left to the field's smooth slopes runs straight for long; a little
// noise a few cells across makes it wander as rivers do, never across a
// level (keys of two levels lie 2 apart).
constexpr double wander = 0.025, wander_cells = 3.5;

double lattice(std::uint64_t seed, int x, int y) {
    return static_cast<double>(world_cell_hash(seed, x, y) >> 11) / static_cast<double>(1ULL << 53);
}
double wander_noise(std::uint64_t seed, int x, int y) {
    const double u = x / wander_cells, v = y / wander_cells;
    const int ix = static_cast<int>(std::floor(u)), iy = static_cast<int>(std::floor(v));
    const double tx = u - ix, ty = v - iy, sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double top = lattice(seed, ix, iy) + (lattice(seed, ix + 1, iy) - lattice(seed, ix, iy)) * sx;
    const double bottom = lattice(seed, ix, iy + 1) + (lattice(seed, ix + 1, iy + 1) - lattice(seed, ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

enum class Kind : std::uint8_t { blocked, land, sea, lake };

// A rising cell is crossed only straight down it: in by its high edge, out
// by the low edge across.
int high_edge(int high_corners) {
    switch (high_corners) {
        case 3: return edge_ne;
        case 6: return edge_se;
        case 12: return edge_sw;
        case 9: return edge_nw;
        default: return 0;
    }
}

class Drainage {
public:
    Drainage(const WorldPatch& patch, int margin, const WorldHydrology& h, std::uint64_t seed)
        : w_(h.width), h_(h.height) {
        const auto count = static_cast<std::size_t>(w_) * h_;
        kind_.assign(count, Kind::blocked);
        entry_.assign(count, 0);
        exit_.assign(count, 0);
        key_.assign(count, 0);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                const int c = y * w_ + x;
                const int world[4] = {y * (w_ + 1) + x, y * (w_ + 1) + x + 1, (y + 1) * (w_ + 1) + x + 1,
                                      (y + 1) * (w_ + 1) + x};
                const int at[4] = {patch.at(x + margin, y + margin), patch.at(x + 1 + margin, y + margin),
                                   patch.at(x + 1 + margin, y + 1 + margin), patch.at(x + margin, y + 1 + margin)};
                bool sea = false, lake = false;
                int low = 99, high_corners = 0;
                float key = 0;
                for (int k = 0; k < 4; ++k) {
                    const bool lake_water = h.lake[world[k]] >= WorldHydrology::water;
                    lake |= lake_water;
                    sea |= is_water(patch.terrain[at[k]]) && !lake_water;
                    low = std::min<int>(low, patch.level[at[k]]);
                    key += 2.0f * patch.level[at[k]] + patch.elevation[at[k]];
                }
                for (int k = 0; k < 4; ++k)
                    if (patch.level[at[k]] > low) high_corners |= 1 << k;
                key_[c] = static_cast<float>(key / 4 + wander * wander_noise(seed, x, y));
                if (sea) {
                    kind_[c] = Kind::sea, entry_[c] = 15;
                } else if (high_corners == 0) {
                    kind_[c] = lake ? Kind::lake : Kind::land, entry_[c] = exit_[c] = 15;
                } else if (const int high = high_edge(high_corners)) {
                    kind_[c] = Kind::land, entry_[c] = static_cast<std::uint8_t>(high);
                    exit_[c] = static_cast<std::uint8_t>(opposite_edge(high));
                }
            }
    }

    // Floods from the sea; then from each lake the flood did not reach,
    // which keeps the water that runs into it.
    void flood() {
        const auto count = static_cast<std::size_t>(w_) * h_;
        out_.assign(count, 0);
        closed_.assign(count, 0);
        fill_ = key_;
        queue_.emplace(*std::max_element(key_.begin(), key_.end()) + 1.0);
        for (int c = 0; c < static_cast<int>(count); ++c)
            if (kind_[c] == Kind::sea) open(c);
        spread();
        for (int c = 0; c < static_cast<int>(count); ++c)
            if (kind_[c] == Kind::lake && !closed_[c]) {
                open(c);
                spread();
            }
    }

    // Cells that drain through each, down the drainage.
    void accumulate() {
        flow_.assign(static_cast<std::size_t>(w_) * h_, 0);
        for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
            const int c = *it;
            flow_[c] += 1;
            if (const int d = downstream(c); d >= 0) flow_[d] += flow_[c];
        }
    }

    int downstream(int c) const {
        if (!out_[c]) return -1;
        const auto [dx, dy] = edge_step(out_[c]);
        return c + dy * w_ + dx;
    }
    // The cells draining straight into c, each with the edge of c it enters by.
    std::vector<std::pair<int, int>> upstream(int c) const {
        std::vector<std::pair<int, int>> from;
        for (const int e : edges) {
            if (!(entry_[c] & e)) continue;
            const int n = across(c, e);
            if (n >= 0 && out_[n] == opposite_edge(e)) from.emplace_back(n, e);
        }
        return from;
    }
    int across(int c, int edge) const {
        const auto [dx, dy] = edge_step(edge);
        const int x = c % w_ + dx, y = c / w_ + dy;
        return x < 0 || y < 0 || x >= w_ || y >= h_ ? -1 : y * w_ + x;
    }

    Kind kind(int c) const { return kind_[c]; }
    bool wet(int c) const { return kind_[c] == Kind::sea || kind_[c] == Kind::lake; }
    bool rising(int c) const { return kind_[c] == Kind::land && entry_[c] != 15; }
    int flow(int c) const { return flow_[c]; }
    int out_edge(int c) const { return out_[c]; }
    const std::vector<int>& order() const { return order_; }
    int width() const { return w_; }

private:
    void open(int c) {
        closed_[c] = 1;
        queue_->push(fill_[c], c);
    }
    void spread() {
        while (!queue_->empty()) {
            const int at = queue_->pop();
            if (kind_[at] != Kind::sea) order_.push_back(at);
            for (const int e : edges) {
                if (!(entry_[at] & e)) continue;
                const int n = across(at, e);
                if (n < 0 || closed_[n] || !(exit_[n] & opposite_edge(e))) continue;
                out_[n] = static_cast<std::uint8_t>(opposite_edge(e));
                fill_[n] = std::max(key_[n], fill_[at]);
                open(n);
            }
        }
    }

    int w_, h_;
    std::vector<Kind> kind_;
    std::vector<std::uint8_t> entry_, exit_, out_, closed_;
    std::vector<float> key_, fill_;
    std::vector<int> order_, flow_;
    std::optional<FloodQueue> queue_;
};

int width_class(int flow, int threshold) {
    int w = 1;
    for (const int times : wider_at) w += flow >= times * threshold;
    return w;
}
}  // namespace

void find_world_rivers(const WorldPatch& patch, int margin, const WorldRequest& request, WorldHydrology& out) {
    const int threshold = std::max(2, request.river_threshold);
    if (request.rivers <= 0 || out.width <= 0 || out.height <= 0) return;
    Drainage d(patch, margin, out, mix_hash(request.seed ^ 0x72697672ULL));
    d.flood();
    d.accumulate();
    const int w = d.width();
    const auto count = static_cast<std::size_t>(out.width) * out.height;
    const auto river = [&](int c) { return d.kind(c) == Kind::land && d.flow(c) >= threshold; };

    // The mouths, largest flow first: a river cell that drains into water.
    std::vector<int> mouths;
    for (const int c : d.order())
        if (river(c) && d.downstream(c) >= 0 && d.wet(d.downstream(c))) mouths.push_back(c);
    std::stable_sort(mouths.begin(), mouths.end(), [&](int a, int b) { return d.flow(a) > d.flow(b); });

    // Each system from its mouth up: its main river follows the larger flow
    // at every fork; the other branches are tributaries, found the same
    // way. A river reaching a lake's outlet starts in the lake.
    const auto upstream_of = [&](int c) {
        std::vector<int> up;
        for (const auto& [n, e] : d.upstream(c))
            if (river(n) || (d.kind(n) == Kind::lake && river(c))) up.push_back(n);
        std::stable_sort(up.begin(), up.end(), [&](int a, int b) { return d.flow(a) > d.flow(b); });
        return up;
    };
    struct Branch {
        int from, joins_cell, joins;
    };
    const long long area = static_cast<long long>(out.width) * out.height;
    const long long most = std::max(1LL, (static_cast<long long>(request.rivers) * area + 4095) / 4096);
    long long systems = 0;
    for (const int mouth : mouths) {
        if (systems >= most) break;
        const int sea = d.downstream(mouth);
        const bool into_lake = d.kind(sea) == Kind::lake;
        std::vector<Branch> branches = {{mouth, sea, -1}};
        const std::size_t first_river = out.rivers.size();
        for (std::size_t b = 0; b < branches.size(); ++b) {
            // The path up, source last; forks noted.
            std::vector<int> path = {branches[b].from};
            std::vector<std::pair<int, int>> forks;  // (branch cell, the path cell it joins)
            for (;;) {
                const int c = path.back();
                if (d.wet(c)) break;
                const std::vector<int> up = upstream_of(c);
                if (up.empty()) break;
                for (std::size_t k = 1; k < up.size(); ++k)
                    if (!d.wet(up[k])) forks.emplace_back(up[k], c);
                path.push_back(up.front());
            }
            // A river never rises on a slope or cliff: it starts above it.
            while (d.rising(path.back()))
                if (const std::vector<int> up = upstream_of(path.back()); !up.empty()) path.push_back(up.front());
                else {
                    const auto all = d.upstream(path.back());
                    if (all.empty()) break;
                    path.push_back(all.front().first);
                }
            const int dry = static_cast<int>(path.size()) - (d.wet(path.back()) ? 1 : 0);
            const bool tributary = branches[b].joins >= 0;
            if (dry < (tributary ? shortest_tributary : shortest_river)) {
                if (!tributary) break;
                continue;
            }
            const int index = static_cast<int>(out.rivers.size());
            WorldRiver r;
            r.into_lake = into_lake;
            r.joins = branches[b].joins;
            for (auto it = path.rbegin(); it != path.rend(); ++it) r.cells.push_back({*it % w, *it / w});
            r.cells.push_back({branches[b].joins_cell % w, branches[b].joins_cell / w});
            out.rivers.push_back(std::move(r));
            for (const auto& [from, joins_cell] : forks) branches.push_back({from, joins_cell, index});
        }
        // A main river too short drops its system.
        if (out.rivers.size() > first_river) ++systems;
    }

    // Each kept cell's channel: out to the cell it drains into, in from the
    // kept cells draining into it; the mouths' and outlets' cells too.
    std::vector<std::uint16_t> channel(count, 0);
    const auto cross = [&](int from, int c, int edge_of_c) {
        RiverChannel a = RiverChannel::unpacked(channel[from]), b = RiverChannel::unpacked(channel[c]);
        const int leaves = opposite_edge(edge_of_c);
        const auto width = static_cast<std::uint8_t>(width_class(d.flow(from), threshold));
        a.out = static_cast<std::uint8_t>(leaves);
        a.widths[static_cast<std::size_t>(edge_index(leaves))] = width;
        b.in |= static_cast<std::uint8_t>(edge_of_c);
        b.widths[static_cast<std::size_t>(edge_index(edge_of_c))] = width;
        channel[from] = a.packed();
        channel[c] = b.packed();
    };
    for (const WorldRiver& r : out.rivers)
        for (std::size_t k = 0; k + 1 < r.cells.size(); ++k) {
            const int from = r.cells[k][1] * w + r.cells[k][0], to = r.cells[k + 1][1] * w + r.cells[k + 1][0];
            cross(from, to, opposite_edge(d.out_edge(from)));
        }
    for (std::size_t c = 0; c < count; ++c)
        if (channel[c]) out.channels.emplace_back(static_cast<int>(c), channel[c]);
}
