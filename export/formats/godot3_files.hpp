#pragma once
#include "export/formats/godot_files.hpp"
#include "export/formats/sheet_layout.hpp"

#include <string>
#include <vector>

// Godot 3: a TileSet of single tiles, each a region of the sheet. The
// isometric mode lives on the TileMap, not here. With a TileMap's defaults
// (textures not centred, no compatibility mode) a tile's region is drawn
// with its top-left at map_to_world(cell) - (W/2, 0) + tex_offset, where
// map_to_world(cell) is the cell diamond's top corner.

struct Godot3TileSet {
    std::string name;                    // tiles are called "name k"
    std::string image;                   // as the .tres names it: relative to it
    std::vector<std::string> resources;  // further whole [ext_resource]/[sub_resource] sections (ids from 2)
    std::vector<GodotKeys> tiles;        // further keys of tile k, named after its "k/" ("normal_map")
    int cell_stride = 1;                 // tile k is the sheet's cell k x stride: a still frame of
                                         // moving tiles (the cells between are their later frames)
    GodotKeys tileset;                   // further keys of the TileSet itself, after its tiles
};

std::string godot3_tileset(const SheetLayout& layout, int tile_count, const Godot3TileSet& tileset);
