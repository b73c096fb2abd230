#pragma once
#include "export/formats/godot_files.hpp"
#include "export/formats/sheet_layout.hpp"
#include "export/formats/tiled_files.hpp"
#include "export/world/world_gameplay.hpp"

#include <string>
#include <vector>

// A world sheet's gameplay facts and shapes (world_gameplay.hpp) as each
// engine's tileset holds them, tile k of the sheet being facts[k].
//
// Tiled: each tile's properties "walkable", "terrain", "water" and "slope"
// (slopes only), its collision polygons in an <objectgroup>, placed on the
// tile's image. Godot 4: custom data layers of those names, physics layer 0
// with the collision polygons, navigation layer 0 with a NavigationPolygon
// per tile that has walkable ground, both about the cell's centre as Godot
// places them. Godot 3: the tile's collision shapes and navigation polygon
// about the same point of its region; Godot 3's tiles hold no custom data,
// so the TileSet's metadata holds the facts.

std::vector<TiledProperty> tiled_gameplay_properties(const WorldTileFacts& facts, bool terrain_tile);
// An <objectgroup> element of the tile's collision, empty when it has none.
std::string tiled_collision_element(const WorldTileFacts& facts, const SheetLayout& layout);

struct GodotGameplay {
    GodotKeys tileset;                   // the TileSet's layers
    std::vector<std::string> resources;  // NavigationPolygons, each once
    std::vector<GodotKeys> tiles;        // tile k's keys, for each of its alternatives
};
// `alternatives`: per tile, how many alternative tiles it has beside its own.
GodotGameplay godot_gameplay(const std::vector<WorldTileFacts>& facts, const std::vector<int>& alternatives,
                             bool terrain_tiles);

struct Godot3Gameplay {
    std::vector<std::string> resources;  // shapes and NavigationPolygons, ids from first_id
    std::vector<GodotKeys> tiles;
    // The TileSet's metadata: an array a fact, by tile id, so that a script
    // reads tile_set.get_meta("walkable")[id].
    GodotKeys tileset;
};
Godot3Gameplay godot3_gameplay(const std::vector<WorldTileFacts>& facts, const SheetLayout& layout, int first_id);
