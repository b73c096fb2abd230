#pragma once
#include "export/tile/rendered_tile.hpp"
#include "generators/world/world_foot.hpp"

// How a sprite fits the cell it stands in (world_foot.hpp), at the map's
// tile width: how far it reaches from its anchor, and a mountain's slices
// cut from its whole sprite.

SpriteReach sprite_reach(const RenderedTile& tile, int iso_width);

// Slice `slice` of a mountain's sprite (world_mountain_slices): the
// painted pixels in its strip's columns that lie behind the front edges of
// the slice's cell, trimmed, its anchor still the mountain's foot. A slice
// that keeps nothing is one clear pixel.
RenderedTile mountain_slice(const RenderedTile& mountain, int slice, int iso_width);

// A crag's sprite cut to its cell in the same way, where the narrowest
// width the mountain generator draws is wider than a crag.
RenderedTile crag_in_cell(const RenderedTile& crag, int iso_width);

// Whether the sprite paints any pixel.
bool paints_anything(const RenderedTile& tile);
