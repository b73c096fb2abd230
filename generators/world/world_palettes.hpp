#pragma once
#include "generators/transition/transition_set.hpp"
#include "generators/world/world_map.hpp"

#include "canvas/colour.hpp"

#include <array>
#include <string>
#include <vector>

// What stands on a palette's ground: its trees, undergrowth, boulders and
// mountains, and how thickly each grows.
struct PaletteObjects {
    // Conifers take over from broadleaf trees as the ground rises: none
    // below `conifers_from`, all from `conifers_to`, both shares of the
    // elevation's way from the shore up to the rock.
    double conifers_from = 0.45, conifers_to = 0.85;
    int leaves_item = 10;           // the broadleaf's "% leaves:" item
    int tree_percent = 100;         // how tall its trees grow, in hundredths of the looks' sizes
    bool snow = false;              // snow lies on trees, bushes and boulders
    Colour bush = 0;                // the bushes' strokes: leaves, or bare twigs
    Colour grass = 0;               // the undergrowth's blades
    std::array<int, 4> boulders{};  // the boulder sheet's sprites its boulders show
    int mountain_rock = 0;          // the mountains' "Mountain texture"
    bool snowbound_peaks = false;   // mountains on snow are snow all over ("All snow")
    // Shares of the usual planting of each.
    double trees = 1, bushes = 1, rocks = 1;
};

// Which built-in texture each terrain shows.
struct WorldPalette {
    std::string name;  // as --palette names it
    std::array<TransitionTerrain, world_terrain_count> textures;
    // The cliffs' vertical faces, under the rock terrain's texture on top:
    // a cliff set joins two different textures.
    TransitionTerrain cliff_face;
    TransitionTerrain road;  // the roads' track, laid over the ground
    PaletteObjects objects;
};
const std::vector<WorldPalette>& world_palettes();  // the first is the default
const WorldPalette* world_palette_named(const std::string& name);
