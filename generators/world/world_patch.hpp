#pragma once
#include "generators/world/world_map.hpp"

#include <cstdint>
#include <vector>

// A world map is built on a patch: the chunk's corners and a margin around
// them wide enough that every value the chunk keeps was computed from all it
// depends on. Values near the patch's edge are partial and never kept.
struct WorldPatch {
    int x0 = 0, y0 = 0;         // the first corner, in world corners
    int width = 0, height = 0;  // corners across and down
    std::vector<WorldTerrain> terrain;
    // Each corner's terrain as the fields gave it: what grows on a slope
    // follows it (rising cells keep it as their ground too).
    std::vector<WorldTerrain> field_terrain;
    std::vector<std::uint8_t> level;
    std::vector<std::uint8_t> rise;  // (width - 1) x (height - 1) cells: 0 flat, 1 slope, 2 cliff
    int at(int cx, int cy) const { return cy * width + cx; }
    int cell_at(int x, int y) const { return y * (width - 1) + x; }
};
