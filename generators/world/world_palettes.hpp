#pragma once
#include "generators/transition/transition_set.hpp"
#include "generators/world/world_map.hpp"

#include <array>
#include <string>
#include <vector>

// Which built-in texture each terrain shows.
struct WorldPalette {
    std::string name;  // as --palette names it
    std::array<TransitionTerrain, world_terrain_count> textures;
    // The cliffs' vertical faces, under the rock terrain's texture on top:
    // a cliff set joins two different textures.
    TransitionTerrain cliff_face;
};
const std::vector<WorldPalette>& world_palettes();  // the first is the default
const WorldPalette* world_palette_named(const std::string& name);
