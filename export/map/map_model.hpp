#pragma once
#include "canvas/raster_image.hpp"
#include "export/formats/sheet_layout.hpp"

#include <array>
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

// Tiled keeps a gid's flips in its top bits.
inline constexpr std::uint32_t map_gid_flags = 0xf0000000u;

// What a layer or an object says of itself beyond its place, for a game to
// read: a whole number under a name (Tiled's int property, Godot's metadata).
struct MapProperty {
    std::string name;
    int value = 0;
};

struct MapTileLayer {
    std::string name;
    int offset_x = 0, offset_y = 0;       // pixels
    std::vector<std::uint32_t> gids;      // width x height of the map, row by row; 0 for none
    std::vector<MapProperty> properties;  // a world's layer its "level"
};

// A tile object. (x, y) are map pixel coordinates: on an isometric map a
// point's distance along the x and y map axes, each counted in tile heights
// (so cell (cx, cy)'s middle is ((cx + 0.5) x tile_height, (cy + 0.5) x
// tile_height)). Tiled stands the tile's image there by its bottom middle
// (the tilesets say objectalignment "bottom"), then moves it by the
// tileset's offset. width and height are the tile's size: Tiled scales the
// image to them.
//
// A tile of a sheet (cell width cw) stands on cell (cx, cy) exactly where a
// tile layer would draw it at x = cx h + h / 2 + cw / 4, y = cy h + 3 h / 2
// - cw / 4 (h the tile height, a tile width of 2 h): for a cell as wide as
// the diamond, the cell's bottom corner. Lowering x and y by d each lifts
// the image d pixels, as a layer's offset y of -d does. At an odd tile
// height Tiled draws a layer's rows up to a pixel lower than that
// (tiled_placement.hpp), and x and y grow by as much.
struct MapObject {
    int id = 0;
    std::uint32_t gid = 0;
    std::string name, type;
    double x = 0, y = 0;
    int width = 0, height = 0;
    std::vector<MapProperty> properties;
    // What blocks a walker: convex polygons about the centre of the cell's
    // diamond it stands on (a house's footprint); the scenes give it a body.
    std::vector<std::vector<std::array<double, 2>>> collision;
};

// How an object layer is drawn. Tiled's "topdown" sorts by the map y alone,
// which on an isometric map is not depth (x counts as much); its editor and
// its renderer even disagree. So the world lists its objects back to front
// and says "index": every reader then draws them in that order.
enum class MapDrawOrder : std::uint8_t { index, top_down };

struct MapObjectLayer {
    std::string name;
    int offset_x = 0, offset_y = 0;
    MapDrawOrder draw_order = MapDrawOrder::index;
    std::vector<MapObject> objects;  // index: drawn in this order; top_down: by y, ties in this order
};

struct MapModel {
    int width = 0, height = 0;            // cells
    int tile_width = 0, tile_height = 0;  // the diamond's box
    std::vector<MapTileset> tilesets;
    std::vector<std::variant<MapTileLayer, MapObjectLayer>> layers;
};

// The tileset holding a gid (its flip flags cleared): the one with the
// largest first gid not above it, as Tiled finds it; -1 for none.
int map_tileset_of(const MapModel& map, std::uint32_t gid);

// The tileset over a sheet laid out by lay_out_sheet, moved by the offset its
// .tsx (tiled_tileset) gives it, so a cell's anchor lands on the diamond's
// middle. The sheet must outlive the model.
MapTileset map_tileset(const SheetLayout& layout, const Sheet& sheet, std::string name, std::string source,
                       int first_gid);
