#pragma once
#include "generators/world/world_layout.hpp"

// Adds the map's river tiles to a layout of its terrains and rises: each
// level's river layer right after the level's other layers, its tiles after
// all the others (their kinds sort last, so the tiles stay in key order).
void lay_out_world_rivers(const WorldMap& map, WorldLayout& layout);
