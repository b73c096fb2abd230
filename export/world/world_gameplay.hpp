#pragma once
#include "generators/world/world_layout.hpp"

#include <array>
#include <string>
#include <vector>

// What a game needs of a world tile beyond its pixels, from the world's
// model (the tile's kind, terrain and corners), never from its pixels.
//
// Shapes are convex polygons in the tile's own frame: its diamond's centre
// at the origin, y down, the corners raised by the level step where the
// tile rises. A cell's tiles lie stacked on its terrain layers, so shapes
// go on one tile of the stack only:
//   navigation  walkable ground: a land fill the whole diamond; the shore
//               over water its land corners' part (where its edge is
//               drawn, through the midpoints of the edges); a slope its
//               raised surface, which meets the flat cells of both its
//               levels edge to edge. Cliffs carry none, so levels join
//               through slopes only.
//   collision   the coast: the shore over water's water part, so no walker
//               reaches the water from the land; a cliff its drawn shape,
//               its raised top and the faces below its front edges; a
//               house its cell.
using GameplayPoint = std::array<double, 2>;
using GameplayPolygon = std::vector<GameplayPoint>;

struct CellGeometry {
    double width = 64, height = 32;  // the diamond
    double step = 8;                 // how far a slope rises
    double cliff_step = 16;          // how far a cliff rises (its face is that tall)
};

struct WorldTileFacts {
    bool walkable = false;
    std::string terrain;         // the world terrain's name
    const char* water = "none";  // "none", "shallow" or "deep"
    bool road = false;           // a road's or a bridge's tile
    std::string slope;           // uphill, on screen ("north", "south_east", ...); empty unless a slope
    std::vector<GameplayPolygon> navigation, collision;
};

WorldTileFacts world_tile_facts(const WorldTileKey& key, const CellGeometry& cell);

// An object's: walkable where it does not block, its footprint for collision.
WorldTileFacts world_object_facts(WorldObjectKind kind, const CellGeometry& cell);

// A sheet's facts: per tile of terrain `keys`, else per object of `kinds`.
std::vector<WorldTileFacts> world_sheet_facts(const std::vector<WorldTileKey>& keys,
                                              const std::vector<WorldObjectKind>& kinds, const CellGeometry& cell);
