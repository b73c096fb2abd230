#pragma once
#include "generators/world/world_layout.hpp"

// Adds the map's road tiles to a layout of its terrains, rises and rivers:
// each level's road layer right after the level's other layers (its rivers
// among them), its tiles after all the others.
void lay_out_world_roads(const WorldMap& map, WorldLayout& layout);
