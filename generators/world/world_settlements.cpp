#include "generators/world/world_settlements.hpp"

#include "generators/common/road_track.hpp"
#include "generators/world/world_cell_hash.hpp"
#include "generators/world/world_ground.hpp"
#include "generators/world/world_levels.hpp"
#include "generators/world/world_road_ground.hpp"

#include <algorithm>
#include <cmath>
#include <deque>
#include <numeric>
#include <optional>
#include <tuple>

namespace {
constexpr int spacing = 12;         // cells between two settlements' centres at the least
constexpr int village_reach = 6;    // cells from its centre a settlement's houses stand within
constexpr int water_reach = 4;      // cells from its centre its water lies within
constexpr int street_reach = 4;     // cells its street runs on past the centre, away from the water
constexpr int longest_street = 10;  // cells down to the water, at the most
constexpr int least_houses = 3, most_houses = 12;

double unit(std::uint64_t h) { return static_cast<double>(h >> 11) / static_cast<double>(1ULL << 53); }

int edge_towards(int dx, int dy) { return dx > 0 ? edge_se : dx < 0 ? edge_nw : dy > 0 ? edge_sw : edge_ne; }

// The whole world's cells as the settlements see them.
class Land {
public:
    Land(const WorldRequest& request, const WorldHydrology& hydrology)
        : w_(request.width), h_(request.height), margin_(world_level_reach(request.levels) + world_ground_reach() +
                                                         WorldGround::front_reach + 1) {
        patch_.x0 = patch_.y0 = -margin_;
        patch_.width = w_ + 1 + 2 * margin_, patch_.height = h_ + 1 + 2 * margin_;
        settle_world_patch(patch_, request);
        apply_world_lakes(hydrology, patch_);
        find_world_rises(patch_, request);
        cut_world_channels(hydrology, patch_);
        ground_.emplace(patch_);
        roads_.emplace(patch_, *ground_, margin_, w_, h_);
        find_water();
    }
    int width() const { return w_; }
    int height() const { return h_; }
    std::size_t at(int x, int y) const { return static_cast<std::size_t>(y) * w_ + x; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    const CellFacts& facts(int x, int y) const { return ground_->at(x + margin_, y + margin_); }
    int channel(int x, int y) const { return patch_.channel[static_cast<std::size_t>(patch_.cell_at(x + margin_, y + margin_))]; }
    bool wet(int x, int y) const { return facts(x, y).wet || channel(x, y) != 0; }
    // Flat, dry grass or meadow something may stand on: a house's ground.
    bool homely(int x, int y) const {
        const CellFacts& f = facts(x, y);
        return f.rise == 0 && f.settled && !wet(x, y) && ground_->may_stand(x + margin_, y + margin_);
    }
    int water_distance(int x, int y) const { return water_[at(x, y)]; }
    const WorldRoadGround& roads() const { return *roads_; }

private:
    // Cells to the nearest wet cell, up to water_reach + 1.
    void find_water() {
        water_.assign(static_cast<std::size_t>(w_) * h_, water_reach + 1);
        std::deque<std::pair<int, int>> queue;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (wet(x, y)) water_[at(x, y)] = 0, queue.emplace_back(x, y);
        while (!queue.empty()) {
            const auto [x, y] = queue.front();
            queue.pop_front();
            const int d = water_[at(x, y)] + 1;
            if (d > water_reach) continue;
            for (const int e : {edge_ne, edge_se, edge_sw, edge_nw}) {
                const auto [dx, dy] = edge_step(e);
                if (inside(x + dx, y + dy) && water_[at(x + dx, y + dy)] > d)
                    water_[at(x + dx, y + dy)] = d, queue.emplace_back(x + dx, y + dy);
            }
        }
    }
    int w_, h_, margin_;
    WorldPatch patch_;
    std::optional<WorldGround> ground_;
    std::optional<WorldRoadGround> roads_;
    std::vector<int> water_;
};

// Builds the plan settlement by settlement.
class Planner {
public:
    Planner(const Land& land, std::uint64_t seed)
        : land_(land), seed_(seed), road_(static_cast<std::size_t>(land.width()) * land.height(), 0),
          owner_(road_.size(), -1) {}

    // A settlement on the site, with its street and first houses, if it
    // gets as many as a settlement needs.
    bool settle(std::array<int, 2> centre) {
        const int index = static_cast<int>(settlements_.size());
        std::vector<std::array<int, 2>> street = street_of(centre);
        if (street.empty()) return false;
        const std::size_t roads_before = roads_.size(), houses_before = houses_.size();
        mark(street, index);
        settlements_.push_back({centre, {}});
        parent_.push_back(index);
        add_houses(index, wanted(centre));
        if (settlements_.back().houses.size() < static_cast<std::size_t>(least_houses)) {
            for (std::size_t k = houses_before; k < houses_.size(); ++k) road_[houses_[k].first] = 0;
            houses_.resize(houses_before);
            for (const auto& [x, y] : street)
                if (owner_[land_.at(x, y)] == index) road_[land_.at(x, y)] = 0, owner_[land_.at(x, y)] = -1;
            roads_.resize(roads_before);
            settlements_.pop_back();
            parent_.pop_back();
            return false;
        }
        return true;
    }

    // Joins each settlement to those before it on its island, then fills
    // each out with houses along its new roads.
    void join() {
        for (int s = 1; s < static_cast<int>(settlements_.size()); ++s) {
            const int mine = root(s);
            const auto path = land_.roads().cheapest(
                settlements_[static_cast<std::size_t>(s)].centre,
                [&](int x, int y) {
                    const int o = owner_[land_.at(x, y)];
                    return road_[land_.at(x, y)] == 1 && o >= 0 && root(o) != mine;
                },
                road_);
            if (path.empty()) continue;
            parent_[static_cast<std::size_t>(mine)] = root(owner_[land_.at(path.back()[0], path.back()[1])]);
            mark(path, s);
        }
        for (int s = 0; s < static_cast<int>(settlements_.size()); ++s)
            add_houses(s, wanted(settlements_[static_cast<std::size_t>(s)].centre));
    }

    WorldSettlementPlan plan() const {
        WorldSettlementPlan plan;
        plan.settlements = settlements_;
        plan.roads = roads_;
        std::vector<std::uint8_t> edges(road_.size(), 0);
        for (const WorldRoad& road : roads_)
            for (std::size_t k = 0; k + 1 < road.cells.size(); ++k) {
                const auto [ax, ay] = road.cells[k];
                const auto [bx, by] = road.cells[k + 1];
                const int e = edge_towards(bx - ax, by - ay);
                edges[land_.at(ax, ay)] |= static_cast<std::uint8_t>(e);
                edges[land_.at(bx, by)] |= static_cast<std::uint8_t>(opposite_edge(e));
            }
        for (std::size_t c = 0; c < edges.size(); ++c) {
            if (road_[c] != 1) continue;
            const int x = static_cast<int>(c % land_.width()), y = static_cast<int>(c / land_.width());
            const RoadTrack track{edges[c], land_.roads().bridge(x, y)};
            plan.tracks.emplace_back(static_cast<int>(c), track.packed());
        }
        plan.houses = houses_;
        std::sort(plan.houses.begin(), plan.houses.end());
        return plan;
    }

private:
    int root(int s) {
        while (parent_[static_cast<std::size_t>(s)] != s) s = parent_[static_cast<std::size_t>(s)];
        return s;
    }
    int wanted(std::array<int, 2> centre) const {
        return least_houses + static_cast<int>(world_cell_hash(seed_ ^ 0x686f757365ULL, centre[0], centre[1]) %
                                               (most_houses - least_houses + 1));
    }

    // From the centre down to the nearest cell beside its water, and on
    // the other way a few cells over flat ground.
    std::vector<std::array<int, 2>> street_of(std::array<int, 2> centre) const {
        const WorldRoadGround& ground = land_.roads();
        std::vector<std::array<int, 2>> down = ground.cheapest(
            centre,
            [&](int x, int y) {
                if (ground.bridge(x, y)) return false;
                for (const int e : {edge_ne, edge_se, edge_sw, edge_nw}) {
                    const auto [dx, dy] = edge_step(e);
                    if (land_.inside(x + dx, y + dy) && land_.wet(x + dx, y + dy)) return true;
                }
                return false;
            },
            road_);
        if (down.size() > static_cast<std::size_t>(longest_street)) down.clear();
        if (down.empty()) down.push_back(centre);
        // Away from the water: across from the street's first step, or the
        // way with the most flat ground.
        int away = 0;
        if (down.size() > 1) away = opposite_edge(edge_towards(down[1][0] - centre[0], down[1][1] - centre[1]));
        std::vector<std::array<int, 2>> up;
        int best = -1;
        for (const int e : {edge_ne, edge_se, edge_sw, edge_nw}) {
            if (away && e != away) continue;
            std::vector<std::array<int, 2>> run;
            auto [x, y] = centre;
            for (int k = 0; k < street_reach; ++k) {
                const auto [dx, dy] = edge_step(e);
                x += dx, y += dy;
                if (!land_.inside(x, y) || !ground.open(x, y) || ground.axis(x, y) || road_[land_.at(x, y)]) break;
                run.push_back({x, y});
            }
            if (static_cast<int>(run.size()) > best) best = static_cast<int>(run.size()), up = run;
        }
        std::vector<std::array<int, 2>> street(up.rbegin(), up.rend());
        street.insert(street.end(), down.begin(), down.end());
        if (street.size() < 2) return {};
        return street;
    }

    void mark(const std::vector<std::array<int, 2>>& cells, int owner) {
        WorldRoad road;
        road.cells = cells;
        for (const auto& [x, y] : cells) {
            const std::size_t c = land_.at(x, y);
            if (road_[c] != 1) road_[c] = 1, owner_[c] = owner;
            if (land_.roads().bridge(x, y)) road.bridges.push_back({x, y});
        }
        roads_.push_back(std::move(road));
    }

    // Houses beside the roads near the settlement's centre, up to `count`:
    // first where a road passes right in front (its door seen), then right
    // behind, then a cell beyond; nearer the centre first.
    void add_houses(int s, int count) {
        WorldSettlement& settlement = settlements_[static_cast<std::size_t>(s)];
        const auto [cx, cy] = settlement.centre;
        struct Site {
            std::tuple<int, int, std::uint64_t> rank;
            int x, y, door;
        };
        std::vector<Site> sites;
        for (int y = std::max(0, cy - village_reach); y <= std::min(land_.height() - 1, cy + village_reach); ++y)
            for (int x = std::max(0, cx - village_reach); x <= std::min(land_.width() - 1, cx + village_reach); ++x) {
                if (road_[land_.at(x, y)] || !land_.homely(x, y)) continue;
                // Front edges (se, sw) first: a house shows its two front faces.
                int best = -1, door = 0;
                const int order[4] = {edge_se, edge_sw, edge_nw, edge_ne};
                for (int reach = 1; reach <= 2 && best < 0; ++reach)
                    for (int k = 0; k < 4 && best < 0; ++k) {
                        const auto [dx, dy] = edge_step(order[k]);
                        const int rx = x + dx * reach, ry = y + dy * reach;
                        if (land_.inside(rx, ry) && road_[land_.at(rx, ry)] == 1 &&
                            (reach == 1 || road_[land_.at(x + dx, y + dy)] == 0))
                            best = (reach - 1) * 4 + (k < 2 ? 0 : 2) + k % 2, door = order[k];
                    }
                if (best < 0) continue;
                const int from_centre = std::max(std::abs(x - cx), std::abs(y - cy));
                sites.push_back({{best / 2, from_centre, world_cell_hash(seed_ ^ 0x73697465ULL, x, y)}, x, y, door});
            }
        std::sort(sites.begin(), sites.end(), [](const Site& a, const Site& b) { return a.rank < b.rank; });
        for (const Site& site : sites) {
            if (static_cast<int>(settlement.houses.size()) >= count) break;
            // A yard around every house: no two stand side by side.
            bool crowded = false;
            for (int y = site.y - 1; y <= site.y + 1 && !crowded; ++y)
                for (int x = site.x - 1; x <= site.x + 1 && !crowded; ++x)
                    crowded = land_.inside(x, y) && road_[land_.at(x, y)] == 2;
            if (crowded) continue;
            road_[land_.at(site.x, site.y)] = 2;  // a house: no road runs through it
            houses_.emplace_back(static_cast<int>(land_.at(site.x, site.y)), static_cast<std::uint8_t>(site.door));
            settlement.houses.push_back({site.x, site.y});
        }
    }

    const Land& land_;
    std::uint64_t seed_;
    std::vector<char> road_;  // a cell: 0, 1 a road, 2 a house
    std::vector<int> owner_;  // the settlement whose road first took a cell
    std::vector<int> parent_; // settlements joined by roads, as a forest of roots
    std::vector<WorldSettlement> settlements_;
    std::vector<WorldRoad> roads_;
    std::vector<std::pair<int, std::uint8_t>> houses_;
};
}  // namespace

WorldSettlementPlan world_settlements(const WorldRequest& request, const WorldHydrology& hydrology) {
    if (request.settlements <= 0 || request.width <= 0 || request.height <= 0) return {};
    const Land land(request, hydrology);
    const std::uint64_t seed = mix_hash(request.seed ^ 0x76696c6cULL);

    // Sites: flat homely ground by water, scored by the room around them.
    struct Site {
        double score;
        int x, y;
    };
    std::vector<Site> sites;
    for (int y = 0; y < land.height(); ++y)
        for (int x = 0; x < land.width(); ++x) {
            const int water = land.water_distance(x, y);
            if (water < 1 || water > water_reach || !land.homely(x, y) || land.roads().axis(x, y)) continue;
            int room = 0;
            for (int ny = y - 3; ny <= y + 3; ++ny)
                for (int nx = x - 3; nx <= x + 3; ++nx) room += land.inside(nx, ny) && land.homely(nx, ny);
            if (room < 14) continue;
            sites.push_back({room + 3.0 * (water_reach + 1 - water) + 2 * unit(world_cell_hash(seed, x, y)), x, y});
        }
    std::stable_sort(sites.begin(), sites.end(), [](const Site& a, const Site& b) { return a.score > b.score; });

    const double area = static_cast<double>(land.width()) * land.height() / 4096.0;
    const auto wanted = static_cast<std::size_t>(std::max(1.0, std::round(request.settlements * area)));
    Planner planner(land, seed);
    std::vector<std::array<int, 2>> taken;
    for (const Site& site : sites) {
        if (taken.size() >= wanted) break;
        const bool near = std::any_of(taken.begin(), taken.end(), [&](const std::array<int, 2>& t) {
            return std::max(std::abs(t[0] - site.x), std::abs(t[1] - site.y)) < spacing;
        });
        if (!near && planner.settle({site.x, site.y})) taken.push_back({site.x, site.y});
    }
    planner.join();
    return planner.plan();
}
