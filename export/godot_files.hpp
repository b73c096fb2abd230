#pragma once
#include "export/sheet_layout.hpp"

#include <string>

// Godot 4: a TileSet of isometric, diamond-down cells with one atlas over
// the sheet; Godot centres a tile's region on its cell and then moves it by
// -texture_origin, so the origin is the anchor's offset from the cell centre.
std::string godot_tileset(const SheetLayout& layout, int tile_count, const std::string& image_file);
