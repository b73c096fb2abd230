#pragma once
#include "app/render/tile_render.hpp"

#include <string>
#include <vector>

// Rendered tiles laid out in a grid of equal cells, each tile placed so its
// diamond's centre sits at the same point of its cell, which is what lets a
// map editor or an engine put every tile on its grid with one offset.
// The largest sheet written: what image editors and engines open readily.
inline constexpr int largest_sheet_side = 16384;
inline constexpr long long largest_sheet_pixels = 64LL * 1024 * 1024;

struct SheetLayout {
    int columns = 0, rows = 0;
    int cell_width = 0, cell_height = 0;  // even, so a cell's centre is a whole pixel
    int anchor_x = 0, anchor_y = 0;       // the diamond's centre inside every cell
    int spacing = 0, margin = 0;
    int width = 0, height = 0;            // the whole sheet
    int diamond_width = 0, diamond_height = 0;

    int cell_x(int index) const { return margin + (index % columns) * (cell_width + spacing); }
    int cell_y(int index) const { return margin + (index / columns) * (cell_height + spacing); }
};

// The smallest cell that holds every tile's painted box and its whole
// diamond around a common anchor. columns 0: about square.
SheetLayout lay_out_sheet(const std::vector<RenderedTile>& tiles, int iso_width, int columns, int spacing, int margin);

struct Sheet {
    RasterImage image;
    std::vector<std::uint8_t> alpha;  // 0 in gaps and wherever no tile painted
};
// frames: outline each cell in the window's tile-set purple.
Sheet compose_sheet(const std::vector<RenderedTile>& tiles, const SheetLayout& layout, bool frames);

// The texts of the engine files, for a sheet image named image_file.
// Tiled: a tileset whose offset puts each diamond on an isometric map's grid
// (Tiled draws a tile's bottom-left corner at the bottom-left of its cell's
// diamond box); trans="000000" only for a BMP, which has no alpha.
std::string tiled_tileset(const SheetLayout& layout, int tile_count, const std::string& name,
                          const std::string& image_file, bool bmp);
// A small isometric map of rows x columns cells using the tiles in turn.
std::string tiled_map(const SheetLayout& layout, int tile_count, const std::string& tileset_file, int map_size);
// Godot 4: a TileSet of isometric, diamond-down cells with one atlas over
// the sheet; Godot centres a tile's region on its cell and then moves it by
// -texture_origin, so the origin is the anchor's offset from the cell centre.
std::string godot_tileset(const SheetLayout& layout, int tile_count, const std::string& image_file);
