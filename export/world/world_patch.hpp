#pragma once
#include "export/world/world_map.hpp"

#include <cstdint>
#include <vector>

// A world map is built on a patch: the chunk's corners and a margin around
// them wide enough that every value the chunk keeps was computed from all it
// depends on. Values near the patch's edge are partial and never kept.
struct WorldPatch {
    int x0 = 0, y0 = 0;         // the first corner, in world corners
    int width = 0, height = 0;  // corners across and down
    std::vector<WorldTerrain> terrain;
    std::vector<std::uint8_t> level;
    std::vector<std::uint8_t> rise;  // (width - 1) x (height - 1) cells: 0 flat, 1 slope, 2 cliff
    int at(int cx, int cy) const { return cy * width + cx; }
    int cell_at(int x, int y) const { return y * (width - 1) + x; }
};

// Where slopes end and cliffs begin: a rise from level L to L + 1 is a
// slope below `first_cliff`, a cliff from it on.
int world_first_cliff(int levels);
// The terrain every corner of a slope or a cliff has.
WorldTerrain world_rise_ground(int rise);

// How far a corner's level, rise and ground reach: they depend on the
// fields of corners up to this far away.
int world_level_reach(int levels);

// Fills the patch's terrains and levels from the fields, then its rises,
// and gives the corners of every rising cell its ground.
void grow_world_patch(WorldPatch& patch, const WorldRequest& request);

// How far the object rules look from a cell, in cells.
int world_object_reach();
// The objects on the patch's cells [x0, x0 + width) x [y0, y0 + height)
// (patch cells), in row order; they must lie world_object_reach() inside it.
std::vector<WorldObject> place_world_objects(const WorldPatch& patch, const WorldRequest& request, int x0, int y0,
                                             int width, int height);
