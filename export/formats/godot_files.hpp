#pragma once
#include "export/formats/sheet_layout.hpp"

#include <string>
#include <utility>
#include <vector>

// Godot 4: a TileSet of isometric, diamond-down cells with one atlas over
// the sheet. Godot draws a tile's region centred on its cell's centre, then
// moved by -texture_origin; the diamond's centre lies between pixels
// anchor_x and anchor_x + 1, so texture_origin x is anchor_x + 1 - cell_width / 2.

// "key = value" lines, the value already in Godot's text form.
using GodotKeys = std::vector<std::pair<std::string, std::string>>;

struct GodotTileSet {
    std::string image;                   // as the .tres names it: relative to it
    std::vector<std::string> resources;  // further whole [ext_resource]/[sub_resource] sections
    GodotKeys atlas;                     // further keys of the atlas source
    std::vector<GodotKeys> tiles;        // further keys of tile k, named after its "column:row/"
                                         // ("animation_columns", "0/terrain")
    std::vector<int> alternatives;       // per tile, how many alternative tiles (1, 2 ...) it has
                                         // beside its own, each drawn as it is
    GodotKeys tileset;                   // further keys of the TileSet itself
    int cell_stride = 1;                 // tile k in cell k x stride (the cells between are its
                                         // animation frames, left free)
    std::string normal_image;            // the normal sheet, relative to the .tres; when set the atlas
                                         // draws a CanvasTexture of the two, lit by 2D lights
};

std::string godot_tileset(const SheetLayout& layout, int tile_count, const GodotTileSet& tileset);
