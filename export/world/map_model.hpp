#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// An isometric map as Tiled holds it: tilesets over sheet images, tile
// layers of global tile ids and object layers of tile objects, in drawing
// order. The world's .tmx is written from it, and world.png is drawn from
// it exactly as Tiled draws the .tmx.

struct MapTileset {
    std::string name;
    std::string source;                                // the .tsx, relative to the map
    const RasterImage* image = nullptr;                // the sheet (colour)
    const std::vector<std::uint8_t>* alpha = nullptr;  // the sheet's alpha, same size
    int first_gid = 1;
    int tile_count = 0, columns = 0;
    int tile_width = 0, tile_height = 0;  // a cell of the sheet
    int spacing = 0, margin = 0;
    int offset_x = 0, offset_y = 0;  // <tileoffset>
};

struct MapTileLayer {
    std::string name;
    int offset_x = 0, offset_y = 0;   // pixels
    std::vector<std::uint32_t> gids;  // width x height of the map, row by row; 0 for none
};

// A tile object: Tiled stands its image's bottom centre on (x, y) (our
// tilesets' objectalignment is "bottom"), then moves it by the tileset's
// offset; (x, y) are map pixel coordinates: on an isometric map a point's
// distance along the x and y map axes, in tile heights.
struct MapObject {
    int id = 0;
    std::uint32_t gid = 0;
    std::string name, type;
    double x = 0, y = 0;
    int width = 0, height = 0;  // the tile's size
};

struct MapObjectLayer {
    std::string name;
    int offset_x = 0, offset_y = 0;
    std::vector<MapObject> objects;  // drawn in order of y (Tiled's "topdown")
};

struct MapModel {
    int width = 0, height = 0;            // cells
    int tile_width = 0, tile_height = 0;  // the diamond's box
    std::vector<MapTileset> tilesets;
    std::vector<std::variant<MapTileLayer, MapObjectLayer>> layers;
};
