#pragma once
#include "generators/house/house_tile.hpp"
#include "generators/mountain/mountain_tile.hpp"
#include "generators/terrain/terrain.hpp"
#include "generators/tree/tree_tile.hpp"
#include "generators/water/water_tile.hpp"

// The entry points of the window's five generators, each declared beside its
// kind's files: each draws one whole random tile on the canvas and ends with
// show_tile.
