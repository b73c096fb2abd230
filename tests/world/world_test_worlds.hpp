#pragma once
#include "generators/world/world_map.hpp"

#include <cstdint>

// A world with land, water, slopes, cliffs and objects enough for every rule to be tried.
inline WorldRequest test_world(std::uint64_t seed, int levels = 3, int size = 112) {
    WorldRequest request;
    request.width = size, request.height = size - 16;
    request.levels = levels, request.seed = seed;
    return request;
}

inline WorldMap whole_world(const WorldRequest& request) {
    return build_world_map(request, 0, 0, request.width, request.height);
}
