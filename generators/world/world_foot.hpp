#pragma once
#include "generators/world/world_map.hpp"

// Where an object's foot stands on screen at a tile width: a whole-pixel
// offset from the middle of its cell's diamond, and how high the ground
// stands there. On a slope that is the slope's surface under the foot, from
// the cell's corner levels and world_level_rise, as the slope tile paints
// it; on flat ground the level's own rise.
//
// A sprite stays inside its cell's column of the map (the diamond's width)
// and behind the cell's two front edges: Tiled draws a .world's chunk maps
// one after the other, each its tiles and then its objects, so a sprite
// reaching into a cell in front of its own would be covered there by a
// later chunk's tiles, and one reaching past its column could meet another
// chunk's sprite in another order than the whole map draws them. Held so,
// sprites meet only sprites of cells behind or in front of their own, and
// the map lists them cell by cell. The foot is drawn in from where the
// object stands, towards the cell's middle, as far as the sprite needs.
struct WorldFoot {
    int across = 0, down = 0;  // screen pixels right of and below the cell's middle
    int rise = 0;              // pixels the ground stands above level 0 there
};

// How far a sprite reaches from its anchor: pixel columns to its left and
// right, and towards the diamond's front edges, in cells along the map's x
// and y axes (at the map's tile width).
struct SpriteReach {
    int left = 0, right = 0;
    double along_x = 0, along_y = 0;
};

// How far behind the front edges every sprite keeps, in cells: two pixel
// rows at the width.
double world_front_margin(int iso_width);

// `map` holds the object's cell. A mountain's slice stands on its
// mountain's foot as it is: the slices are cut to fit (world_mountains.hpp).
WorldFoot world_foot(const WorldMap& map, const WorldObject& object, int iso_width, const SpriteReach& reach);
