#pragma once
#include "export/formats/sheet_layout.hpp"
#include "export/tile/rendered_tile.hpp"

#include <vector>

// The frames of moving water laid out for files and previews.
//
// Sheets: a tile's frames sit side by side in one row of cells, frame f of
// tile k in cell k x N + f; a row holds whole tiles, so its columns are a
// multiple of N. One file a tile: a strip of the N frames left to right.

int frame_count(const RenderedTile& tile);
const RasterImage& tile_frame(const RenderedTile& tile, int frame);

// Every frame of every tile as a cell of its own, in the sheet's order.
std::vector<RenderedTile> frame_cells(const std::vector<RenderedTile>& tiles);

// The columns of a sheet of tiles of `frames` frames: `tiles_across` tiles
// to a row (0: a sheet about square), each its frames wide.
int frame_sheet_columns(int tiles_across, int tile_count, int frames);

// The tile's frames left to right, with their coverage.
Sheet frame_strip(const RenderedTile& tile);

// A small isometric map of map_size x map_size cells, cell (row, column)
// showing tiles[cells[row x map_size + column]], as Tiled draws a map, once
// for each frame: what a map of these tiles looks like as its water moves.
// The alpha holds for every frame.
struct MapFrames {
    std::vector<RasterImage> frames;
    std::vector<std::uint8_t> alpha;
};
MapFrames sample_map_frames(const std::vector<RenderedTile>& tiles, int iso_width, int map_size,
                            const std::vector<int>& cells);

// Animated GIFs to play: one tile's frames (transparent where it painted
// nothing, if asked), or a sample map's. Empty when encoding fails.
std::vector<std::uint8_t> tile_gif(const RenderedTile& tile, int frame_ms, bool transparent);
std::vector<std::uint8_t> map_gif(const MapFrames& map, int frame_ms);
