#pragma once
#include "export/problem.hpp"
#include "export/formats/sheet_layout.hpp"
#include "export/map/map_model.hpp"

#include <functional>
#include <string>

// The image Tiled's tmxrasterizer (scale 1) makes of a map's .tmx, pixel for
// pixel, alpha included, drawn from the map model alone.
//
// Its frame is Tiled's: the map's diamond box, (width + height) x
// tile_width / 2 by (width + height) x tile_height / 2, grown on each side
// by the largest layer offset towards it. Tiled's screen point (sx, sy) is
// the frame's (sx + offset_x, sy + offset_y); on screen the top corner of
// cell (cx, cy) is ((cx - cy + height) x tile_width / 2, (cx + cy) x
// tile_height / 2). Whatever reaches beyond the frame (a tall tile on the
// top row) is cut, as Tiled cuts it.
//
// The order is Tiled's: layers in turn, moved by their offsets; a tile
// layer by screen rows (cx + cy), each from left to right; a cell's image
// with its bottom-left on the bottom-left of the cell's diamond box (rounded
// as tiled_placement.hpp says when the tile height is odd), moved by its
// tileset's offset; objects as map_model.hpp says.
struct MapFrame {
    int width = 0, height = 0;
    int offset_x = 0, offset_y = 0;
};
MapFrame map_frame(const MapModel& map);

// The widest and tallest frame drawn: a PNG's side.
inline constexpr long long largest_png_side = (1LL << 31) - 1;

// Why the map cannot be drawn exactly so (empty when it can): an odd tile
// width, a gid naming no tile or flipped, a sheet smaller than its tiles, an
// object not the size of its tile or off whole pixels, a frame wider or
// taller than a PNG.
Problem map_composite_problem(const MapModel& map);

// The image a band of rows at a time, top to bottom, so it is never held
// whole: take(first_row, band) gets each band (the frame's width, some rows
// of it) and says whether to go on. Memory: the draws and one band (about
// 8 MB) whatever the frame's size. Within a band the draws that reach it
// are made in the map's order, so its rows are those of the whole image.
// False when map_composite_problem has something to say or take said stop.
// jobs: threads drawing the band's rows (the bytes are the same for any
// number).
using MapBand = std::function<bool(int first_row, const Sheet& band)>;
bool composite_map_bands(const MapModel& map, int jobs, const MapBand& take);

// The whole image; an empty sheet when map_composite_problem has something
// to say.
Sheet composite_map(const MapModel& map, int jobs = 1);
