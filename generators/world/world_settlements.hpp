#pragma once
#include "generators/world/world_hydrology.hpp"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// Where a world's people live, found on the whole world at once (a road
// runs far beyond the chunk it crosses), after its rivers:
//
// - Sites on flat grass or meadow by water (the sea, a lake or a river),
//   scored by the room around them, apart from each other.
// - Each settlement's street: from its centre down to its water, and on a
//   little the other way.
// - Roads: each settlement joined by the cheapest road to those before it
//   on its island (the land a road can reach), so every two settlements of
//   an island are joined (world_road_ground.hpp).
// - Houses: 3 to 12 a settlement, on flat grass or meadow beside its
//   roads, each with a yard around it, its door towards its road.
struct WorldSettlementPlan {
    std::vector<WorldSettlement> settlements;
    std::vector<WorldRoad> roads;
    // (cell y x width + x, packed RoadTrack) of every road cell, in that order.
    std::vector<std::pair<int, std::uint8_t>> tracks;
    // Every house: (cell y x width + x, the edge bit its road lies
    // across, the way its door faces), in that order.
    std::vector<std::pair<int, std::uint8_t>> houses;
};

WorldSettlementPlan world_settlements(const WorldRequest& request, const WorldHydrology& hydrology);
