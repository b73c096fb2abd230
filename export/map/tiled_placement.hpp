#pragma once
#include "export/map/map_model.hpp"

#include <optional>
#include <utility>

// Where Tiled's isometric renderer puts an image, to the pixel, as
// tmxrasterizer (Tiled 1.8, Qt 5) draws it. Screen points are Tiled's: cell
// (cx, cy)'s top corner at ((cx - cy + map height) x W / 2, (cx + cy) x H / 2),
// before the layer's offset.
//
// A tile layer's rows: Tiled walks them from a start it works out from the
// layer's bounds (whole chunks of 16 x 16 cells) and its tilesets' sizes and
// offsets, stepping half a tile height a row. With an odd tile height every
// other row falls on a half pixel, and from some starts every row lies half
// a pixel below the grid's. Qt then rounds each image's corner to the
// nearest pixel, halves down the screen. With an even height neither happens.
class TiledLayerRows {
public:
    TiledLayerRows(const MapModel& map, const MapTileLayer& layer);
    // The screen row Tiled stands the images of row `row` (cx + cy) on:
    // their bottom edge, the grid's H + row x H / 2 at an even height.
    int bottom(int row) const;

private:
    long long start_row_ = 0, start_twice_ = 0;  // a row and twice its bottom, as Tiled counts them
    int tile_height_ = 0;
};

// The top-left of a tile object's image as Tiled works it out (its bottom
// middle on the object's point, then moved by its tileset's offset), in
// Tiled's double arithmetic; the object must be its tile's size.
std::pair<double, double> tiled_object_corner(const MapModel& map, const MapTileset& tileset, const MapObject& object);

// That corner as the pixel Qt draws it at, when it lies on whole pixels
// within rounding; none when it falls between them (where Qt's rounding of a
// half would decide).
std::optional<std::pair<int, int>> tiled_object_pixel(const MapModel& map, const MapTileset& tileset,
                                                      const MapObject& object);

// The point (x, y in map pixels) of an object whose bottom middle Tiled puts
// on screen point (sx, sy): whole screen points give halves at worst, which
// Tiled's arithmetic brings back within rounding of (sx, sy).
std::pair<double, double> tiled_object_point(const MapModel& map, int sx, int sy);
