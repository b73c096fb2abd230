#pragma once
#include "generators/world/world_patch.hpp"
#include "generators/world/world_settlements.hpp"

#include <vector>

// How far the object rules look from a cell, in cells.
int world_object_reach();
// The objects on the patch's cells [x0, x0 + width) x [y0, y0 + height)
// (patch cells), in row order; they must lie world_object_reach() inside it.
// With settlements, the houses are the plan's, and nothing grows on its
// roads or in its yards; without, houses stand alone by water.
std::vector<WorldObject> place_world_objects(const WorldPatch& patch, const WorldRequest& request,
                                             const WorldSettlementPlan& plan, int x0, int y0, int width, int height);
