#pragma once
#include "generators/world/world_hydrology.hpp"

// The rivers of a patch that covers the world with `margin` corners round
// it, its hollows filled, its lakes laid and its rises found: fills the
// hydrology's channels and river list.
void find_world_rivers(const WorldPatch& patch, int margin, const WorldRequest& request, WorldHydrology& hydrology);
