#pragma once
#include "generators/world/world_map.hpp"

#include <optional>
#include <string>

// The cell a pixel of a world's render shows: the highest cell whose
// raised diamond holds it, as the render draws higher levels over lower.
struct ShownCell {
    int x = 0, y = 0;                                 // in world cells
    int level = 0;                                    // its lowest corner's
    int rise = 0;                                     // 0 flat, 1 a slope, 2 a cliff
    WorldTerrain terrain = WorldTerrain::deep_water;  // its highest corner's: the one drawn on top
};
// `levels`: the world's option, which sets how far each level rises;
// `image_height`: the render's height, which holds the rise of its highest layer.
std::optional<ShownCell> cell_at_pixel(const WorldMap& map, int levels, int iso_width, int image_height, int px,
                                       int py);

// "cell 12, 7 · level 2 · grass slope".
std::string cell_readout(const ShownCell& cell);
