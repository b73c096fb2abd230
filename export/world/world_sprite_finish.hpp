#pragma once
#include "export/tile/rendered_tile.hpp"
#include "generators/world/world_map.hpp"
#include "generators/world/world_palettes.hpp"

#include <string>
#include <vector>

// What the world lays on a sprite beside what its generator painted: a
// shade on the ground under it (only where the sprite paints nothing, in
// partial alpha, so overlapping shades deepen a forest's floor), snow on
// every painted pixel open to the sky, and the single pixels a mountain's
// relief leaves unpainted inside it filled, so the ground does not show
// through. A finished sprite is its record's tile with these laid on, and
// the manifest names them beside the record.
struct SpriteFinish {
    bool shade = false;
    bool snow = false;
    bool filled = false;
    int map_width = 64;  // the map's tile width, which the shade is measured by
    // "shade", "snow", "filled": as the manifest names them.
    std::vector<std::string> names() const;
};

// Trees and bushes cast a shade; snow lies on trees and boulders where the
// palette has snow; mountains are filled.
SpriteFinish world_sprite_finish(const WorldPalette& palette, WorldObjectKind kind, int map_width);

// Lays the finish on the tile. The shade is a disc on the ground, about as
// wide as the sprite's lower half, its middle a little behind the foot so
// it keeps behind the cell's front edges wherever the foot stands (see
// world_foot.hpp); it grows the image where it reaches past it.
void finish_world_sprite(RenderedTile& tile, const SpriteFinish& finish);
