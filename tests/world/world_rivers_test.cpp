#include "generators/common/river_channel.hpp"
#include "generators/world/world_map.hpp"
#include "world_test_worlds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {
using Cell = std::array<int, 2>;

struct Counts {
    int rivers = 0, tributaries = 0, into_lakes = 0, falls = 0, rapids = 0, lakes = 0;
};

int corner_level(const WorldMap& map, int cx, int cy) { return map.corner(cx, cy).level; }

// The level of the edge two neighbouring cells share, or -1 where its two
// corners differ (water never crosses such an edge).
int shared_edge_level(const WorldMap& map, Cell a, Cell b) {
    const int dx = b[0] - a[0], dy = b[1] - a[1];
    Cell p, q;  // the edge's corners
    if (dx == 1) p = {a[0] + 1, a[1]}, q = {a[0] + 1, a[1] + 1};
    else if (dx == -1) p = {a[0], a[1]}, q = {a[0], a[1] + 1};
    else if (dy == 1) p = {a[0], a[1] + 1}, q = {a[0] + 1, a[1] + 1};
    else p = {a[0], a[1]}, q = {a[0] + 1, a[1]};
    const int lp = corner_level(map, p[0], p[1]), lq = corner_level(map, q[0], q[1]);
    return lp == lq ? lp : -1;
}

bool has_water(const WorldMap& map, Cell c) {
    for (int k = 0; k < 4; ++k)
        if (is_water(map.corner(c[0] + (k == 1 || k == 2), c[1] + (k >= 2)).terrain)) return true;
    return false;
}

// Every river is a chain of neighbouring cells that never runs up a level,
// crosses a level only down a slope (rapids) or over a cliff (a fall),
// never visits a cell twice, and ends in the sea, a lake or the river it
// joins; every river cell carries its channel. Lakes lie flat on one level.
Counts check_world(const WorldMap& map) {
    Counts n;
    std::set<Cell> lake_cells;
    for (const WorldLake& lake : map.lakes) {
        ++n.lakes;
        for (const Cell& c : lake.cells) {
            lake_cells.insert(c);
            EXPECT_EQ(map.rise(c[0], c[1]), 0) << "a lake's cell rises at " << c[0] << "," << c[1];
            for (int k = 0; k < 4; ++k)
                EXPECT_EQ(corner_level(map, c[0] + (k == 1 || k == 2), c[1] + (k >= 2)), lake.level);
        }
    }
    std::map<Cell, int> owner;  // a cell a river runs through (not the one it ends in)
    for (std::size_t r = 0; r < map.rivers.size(); ++r) {
        const WorldRiver& river = map.rivers[r];
        const std::string name = "river " + std::to_string(r);
        n.rivers += river.joins < 0;
        n.tributaries += river.joins >= 0;
        n.into_lakes += river.joins < 0 && river.into_lake;
        EXPECT_GE(river.cells.size(), 3u) << name;
        EXPECT_EQ(map.rise(river.cells.front()[0], river.cells.front()[1]), 0) << name << " rises on a slope";
        int last_level = 99;
        for (std::size_t k = 0; k < river.cells.size(); ++k) {
            const Cell c = river.cells[k];
            EXPECT_NE(map.channel(c[0], c[1]), 0) << name << " has no channel at " << c[0] << "," << c[1];
            if (k + 1 == river.cells.size()) break;
            EXPECT_TRUE(owner.emplace(c, static_cast<int>(r)).second) << name << " meets another at " << c[0] << "," << c[1];
            const Cell next = river.cells[k + 1];
            EXPECT_EQ(std::abs(next[0] - c[0]) + std::abs(next[1] - c[1]), 1) << name << " breaks at " << k;
            const int level = shared_edge_level(map, c, next);
            EXPECT_GE(level, 0) << name << " crosses a rising edge at " << c[0] << "," << c[1];
            EXPECT_LE(level, last_level) << name << " runs uphill at " << c[0] << "," << c[1];
            if (k > 0) {
                // A drop between the edges in and out: the cell between falls.
                const int rise = map.rise(c[0], c[1]);
                EXPECT_EQ(rise != 0, level < last_level) << name << " drops without a fall at " << c[0] << "," << c[1];
                n.falls += rise == 2, n.rapids += rise == 1;
            }
            last_level = level;
        }
        const Cell end = river.cells.back();
        if (river.joins >= 0) {
            const std::vector<Cell>& joined = map.rivers[static_cast<std::size_t>(river.joins)].cells;
            EXPECT_NE(std::find(joined.begin(), joined.end(), end), joined.end()) << name << " joins nothing";
            EXPECT_EQ(river.into_lake, map.rivers[static_cast<std::size_t>(river.joins)].into_lake);
        } else {
            EXPECT_TRUE(has_water(map, end)) << name << " ends on land";
            EXPECT_EQ(lake_cells.count(end) > 0, river.into_lake) << name << " mouth";
        }
    }
    // No channel but the rivers' own.
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x)
            if (map.channel(x, y) && !owner.count({x, y})) {
                bool mouth = false;
                for (const WorldRiver& river : map.rivers) mouth |= river.cells.back() == Cell{x, y};
                EXPECT_TRUE(mouth) << "a channel of no river at " << x << "," << y;
            }
    return n;
}

TEST(WorldRivers, RunDownhillToTheSeaOrALakeFallingAtEveryDrop) {
    Counts total;
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        WorldRequest request = test_world(seed, 3 + static_cast<int>(seed % 2), 48);
        request.height = 48;
        const Counts n = check_world(whole_world(request));
        total.rivers += n.rivers, total.tributaries += n.tributaries, total.into_lakes += n.into_lakes;
        total.falls += n.falls, total.rapids += n.rapids, total.lakes += n.lakes;
    }
    WorldRequest big = test_world(3, 3, 256);
    big.height = 256;
    const Counts n = check_world(whole_world(big));
    EXPECT_GT(n.rivers, 20);
    EXPECT_GT(n.lakes, 0);
    EXPECT_GT(n.into_lakes, 0);
    EXPECT_GE(total.rivers, 24) << "a few rivers an island";
    EXPECT_GT(total.tributaries, 0);
    EXPECT_GT(total.falls, 0);
    EXPECT_GT(total.rapids, 0);
}

TEST(WorldRivers, NoneWithNoRiversAsked) {
    WorldRequest request = test_world(8, 3, 48);
    request.rivers = 0;
    const WorldMap map = whole_world(request);
    EXPECT_TRUE(map.rivers.empty());
    EXPECT_EQ(std::count(map.channels.begin(), map.channels.end(), 0), map.width * map.height);
}

}  // namespace
