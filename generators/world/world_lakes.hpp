#pragma once
#include "generators/world/world_hydrology.hpp"

// The hollows of a patch that covers the world with `margin` corners round
// it (its levels settled): fills the hydrology's levels, lakes and lake
// list, for the world's corners.
void fill_world_hollows(const WorldPatch& patch, int margin, WorldHydrology& hydrology);
