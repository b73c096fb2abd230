#pragma once
#include "export/sheet_layout.hpp"

#include <string>

// The Tiled files of a sheet named image_file. The tileset's offset puts
// each diamond on an isometric map's grid (Tiled draws a tile's bottom-left
// corner at the bottom-left of its cell's diamond box); trans="000000" only
// for a BMP, which has no alpha.
std::string tiled_tileset(const SheetLayout& layout, int tile_count, const std::string& name,
                          const std::string& image_file, bool bmp);
// A small isometric map of rows x columns cells using the tiles in turn.
std::string tiled_map(const SheetLayout& layout, int tile_count, const std::string& tileset_file, int map_size);
