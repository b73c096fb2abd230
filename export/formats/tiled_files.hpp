#pragma once
#include "export/formats/sheet_layout.hpp"

#include <string>
#include <vector>

// The Tiled files of a sheet: a tileset (.tsx) over the sheet image and a
// sample isometric map (.tmx) drawing with it.

// A custom property as Tiled shows it; an empty type is Tiled's "string".
struct TiledProperty {
    std::string name, type, value;
};

// What the tileset says of one tile beyond its place on the sheet: its
// properties and any further child elements (whole XML, e.g. <animation>).
struct TiledTile {
    int id = 0;
    std::vector<TiledProperty> properties;
    std::vector<std::string> elements;
};

struct TiledTileset {
    std::string name;
    std::string image;                      // as the tileset names it: relative to the .tsx
    bool colour_key = false;                // a BMP has no alpha: black stands for nothing
    std::vector<TiledTile> tiles;           // only tiles with something to say
    std::vector<std::string> elements;      // children after the tiles, e.g. <wangsets>
    std::vector<TiledProperty> properties;  // the tileset's own, e.g. its normal sheet
};

// Tiled draws a tile on an isometric map with its image's bottom-left on the
// bottom-left of the cell's diamond box, moved by the tileset's offset. The
// diamond's pixels run from anchor_x - W/2 + 1 to anchor_x + W/2, so the
// offset that puts them on the cell's W columns is W/2 - anchor_x - 1; the
// rows follow SheetLayout::anchor_box_row.
std::string tiled_tileset(const SheetLayout& layout, const TiledTileset& tileset);

// That offset: the tileset's <tileoffset>.
struct TiledOffset {
    int x = 0, y = 0;
};
TiledOffset tiled_tile_offset(const SheetLayout& layout);

// A small isometric map of map_size x map_size cells using the tiles in turn;
// tile k is the tileset's tile k x id_stride (the tiles between are its
// animation frames).
std::string tiled_map(const SheetLayout& layout, int tile_count, const std::string& tileset_file, int map_size,
                      int id_stride = 1);

// The properties element of a tile or a tileset, indented by `indent`;
// empty when there are none.
std::string tiled_properties(const std::vector<TiledProperty>& properties, const std::string& indent);
