#pragma once
#include "export/tile/tile_render.hpp"

#include <cstdint>

// A rendered tile's normal map read back at a pixel, each part -1..1.
struct Normal {
    double x, y, z;
};
inline Normal normal_at(const RenderedTile& tile, int x, int y) {
    const Colour c = tile.lighting_maps.normal_at(x, y);
    return {red(c) / 127.5 - 1.0, green(c) / 127.5 - 1.0, blue(c) / 127.5 - 1.0};
}
