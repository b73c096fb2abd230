#pragma once
#include "export/tile/tile_render.hpp"

#include <cstdint>

// A rendered tile's normal map read back at a pixel, each part -1..1.
struct Normal {
    double x, y, z;
};
inline Normal normal_at(const RenderedTile& tile, int x, int y) {
    const std::uint8_t* p = tile.lighting_maps.normals.row(y) + 3 * x;
    return {p[0] / 127.5 - 1.0, p[1] / 127.5 - 1.0, p[2] / 127.5 - 1.0};
}
