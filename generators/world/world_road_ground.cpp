#include "generators/world/world_road_ground.hpp"

#include "generators/common/river_channel.hpp"

#include <algorithm>
#include <queue>

namespace {
// What a step costs: open land the least, forest more, a slope's climb
// and a bridge much more; a turn a little, so roads run straight where
// the land lets them, and a road already there far less, so they share.
constexpr float flat_cost = 1.0f, forest_cost = 1.6f, slope_cost = 4.0f, bridge_cost = 6.0f;
constexpr float turn_cost = 0.15f, shared_share = 0.35f;

constexpr int ne_sw = edge_ne | edge_sw, se_nw = edge_se | edge_nw;
}  // namespace

WorldRoadGround::WorldRoadGround(const WorldPatch& patch, const WorldGround& ground, int margin, int width,
                                 int height)
    : width_(width), height_(height), ways_(static_cast<std::size_t>(width) * height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int px = x + margin, py = y + margin;
            const CellFacts& f = ground.at(px, py);
            Way& way = ways_[index(x, y)];
            if (f.wet || f.high || f.rise == 2) continue;
            const int channel = patch.channel[static_cast<std::size_t>(patch.cell_at(px, py))];
            if (f.rise == 1) {
                if (channel) continue;  // rapids
                // The high corners (top, right, bottom, left bits): a slope
                // a road climbs has one whole edge high.
                int mask = 0;
                const int corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
                for (int k = 0; k < 4; ++k)
                    if (patch.level[static_cast<std::size_t>(patch.at(px + corners[k][0], py + corners[k][1]))] >
                        f.low)
                        mask |= 1 << k;
                if (mask == 3 || mask == 12) way.axis = ne_sw;
                else if (mask == 6 || mask == 9) way.axis = se_nw;
                else continue;
                way.open = true, way.cost = slope_cost;
                continue;
            }
            if (channel) {
                // Straight over a river that runs straight through.
                const int edges = RiverChannel::unpacked(static_cast<std::uint16_t>(channel)).edges();
                if (edges != ne_sw && edges != se_nw) continue;
                way.open = way.bridge = true;
                way.axis = static_cast<std::uint8_t>(edges == ne_sw ? se_nw : ne_sw);
                way.cost = bridge_cost;
                continue;
            }
            way.open = true;
            way.cost = f.terrain == static_cast<int>(WorldTerrain::forest) ? forest_cost : flat_cost;
        }
}

std::vector<std::array<int, 2>> WorldRoadGround::cheapest(std::array<int, 2> from,
                                                          const std::function<bool(int, int)>& goal,
                                                          const std::vector<char>& road) const {
    // A state is a cell and the edge the road came in by (4: it starts
    // there): a slope or a bridge must be left by the edge across.
    const auto state = [&](int x, int y, int in) { return (static_cast<std::size_t>(y) * width_ + x) * 5 + in; };
    const auto [fx, fy] = from;
    if (fx < 0 || fy < 0 || fx >= width_ || fy >= height_ || !open(fx, fy)) return {};
    // The search's memory is kept from one road to the next, and only what
    // a search touched is cleared: a road explores a small part of a
    // large world.
    std::vector<float>& cost = search_.cost;
    std::vector<std::int64_t>& came = search_.came;
    std::vector<char>& done = search_.done;
    if (cost.empty()) cost.assign(ways_.size() * 5, -1), came.assign(cost.size(), -1), done.assign(cost.size(), 0);
    for (const std::size_t t : search_.touched) cost[t] = -1, came[t] = -1, done[t] = 0;
    search_.touched.clear();
    std::vector<std::size_t>& touched = search_.touched;
    using Entry = std::pair<float, std::size_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    cost[state(fx, fy, 4)] = 0;
    touched.push_back(state(fx, fy, 4));
    queue.push({0, state(fx, fy, 4)});
    const int edges[4] = {edge_ne, edge_se, edge_sw, edge_nw};
    while (!queue.empty()) {
        const auto [c, s] = queue.top();
        queue.pop();
        if (done[s]) continue;
        done[s] = 1;
        const int cell = static_cast<int>(s / 5), in = static_cast<int>(s % 5);
        const int x = cell % width_, y = cell / width_;
        if (goal(x, y)) {
            std::vector<std::array<int, 2>> path;
            for (std::int64_t at = static_cast<std::int64_t>(s); at >= 0; at = came[static_cast<std::size_t>(at)]) {
                const int k = static_cast<int>(at / 5);
                path.push_back({k % width_, k / width_});
            }
            std::reverse(path.begin(), path.end());
            return path;
        }
        const Way& here = ways_[index(x, y)];
        for (int e = 0; e < 4; ++e) {
            const int out = edges[e];
            const int entered = in < 4 ? edges[in] : 0;
            if (entered == out) continue;
            if (here.axis && (!(here.axis & out) || (entered && opposite_edge(entered) != out))) continue;
            const auto [dx, dy] = edge_step(out);
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
            const Way& there = ways_[index(nx, ny)];
            if (!there.open || road[index(nx, ny)] == 2 || (there.axis && !(there.axis & out))) continue;
            const int back = edge_index(opposite_edge(out));
            float step = there.cost * (road[index(nx, ny)] == 1 ? shared_share : 1.0f);
            if (entered && opposite_edge(entered) != out) step += turn_cost;
            const std::size_t next = state(nx, ny, back);
            if (done[next] || (cost[next] >= 0 && cost[next] <= c + step)) continue;
            if (cost[next] < 0) touched.push_back(next);
            cost[next] = c + step;
            came[next] = static_cast<std::int64_t>(s);
            queue.push({c + step, next});
        }
    }
    return {};
}
