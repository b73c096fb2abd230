#include "generators/common/road_track.hpp"
#include "generators/world/world_map.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

// Over many seeds: houses stand by roads on flat dry ground, nothing grows
// on a road, roads keep off water and cliffs and cross rivers on bridges,
// and a chunk holds the whole world's roads and houses on its cells.
TEST(WorldSettlements, HousesStandByRoadsOnFlatDryGroundAndChunksAgree) {
    int villages = 0;
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        WorldRequest request;
        request.width = request.height = 48;
        request.settlements = 3;
        request.seed = seed;
        const WorldMap map = build_world_map(request, 0, 0, 48, 48);
        const auto road = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < map.width && y < map.height && map.track(x, y) != 0;
        };
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                if (!road(x, y)) continue;
                const RoadTrack track = RoadTrack::unpacked(static_cast<std::uint8_t>(map.track(x, y)));
                EXPECT_NE(map.rise(x, y), 2) << seed;
                EXPECT_EQ(track.bridge, map.channel(x, y) != 0) << seed;
                for (const auto& [cx, cy] : {std::pair{x, y}, {x + 1, y}, {x, y + 1}, {x + 1, y + 1}})
                    EXPECT_FALSE(is_water(map.corner(cx, cy).terrain)) << seed << " at " << x << "," << y;
                // Every edge the track crosses leads into a cell the track joins.
                for (const int e : {edge_ne, edge_se, edge_sw, edge_nw})
                    if (track.edges & e) {
                        const auto [dx, dy] = edge_step(e);
                        ASSERT_TRUE(road(x + dx, y + dy)) << seed;
                        EXPECT_TRUE(map.track(x + dx, y + dy) & opposite_edge(e)) << seed;
                    }
            }
        for (const WorldObject& o : map.objects) {
            if (o.kind != WorldObjectKind::house) {
                EXPECT_FALSE(road(o.x, o.y)) << seed << ": a " << world_object_name(o.kind) << " on a road";
                continue;
            }
            EXPECT_FALSE(road(o.x, o.y)) << seed;
            EXPECT_EQ(map.rise(o.x, o.y), 0) << seed;
            bool by_road = false;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) by_road |= road(o.x + dx, o.y + dy);
            EXPECT_TRUE(by_road) << seed << ": the house at " << o.x << "," << o.y;
        }
        for (const WorldSettlement& s : map.settlements) {
            EXPECT_GE(s.houses.size(), 3u);
            EXPECT_LE(s.houses.size(), 12u);
        }
        villages += !map.settlements.empty();
        if (seed <= 2) {
            const WorldMap chunk = build_world_map(request, 16, 20, 20, 14);
            for (int y = 0; y < chunk.height; ++y)
                for (int x = 0; x < chunk.width; ++x) EXPECT_EQ(chunk.track(x, y), map.track(x + 16, y + 20));
            std::set<std::pair<int, int>> whole, part;
            for (const WorldObject& o : map.objects)
                if (o.kind == WorldObjectKind::house && o.x >= 16 && o.x < 36 && o.y >= 20 && o.y < 34)
                    whole.emplace(o.x, o.y);
            for (const WorldObject& o : chunk.objects)
                if (o.kind == WorldObjectKind::house) part.emplace(o.x, o.y);
            EXPECT_EQ(whole, part);
        }
    }
    EXPECT_GE(villages, 8);
}
