#pragma once
#include "export/render_settings.hpp"
#include "export/formats/sheet_layout.hpp"
#include "export/tile/rendered_tile.hpp"

#include <string>
#include <utility>
#include <vector>

// The engine files a sheet run asks for, as (path, text): the Tiled tileset
// beside the sheet always, and the Tiled map and Godot TileSets named by the
// settings. Every path inside a file is relative to that file. What each
// file says of the tiles (their seed and kind, and whatever else a tile
// carries) is gathered here, the formats themselves written by the writers.
// `ground_sheet`: the textures the run draws with, which colour an over
// set's terrain A (its tiles never paint it).
std::vector<std::pair<std::string, std::string>> sheet_engine_files(const RenderSettings& settings,
                                                                    const SheetLayout& layout,
                                                                    const std::vector<RenderedTile>& tiles,
                                                                    const RasterImage& ground_sheet);

// The side of the sample map: the sheet's tiles across, 2 to 8.
int sample_map_size(const SheetLayout& layout, int frames);

// The sample map the Tiled map and the GIF preview show, size x size cells,
// each cell's tile (an index into the run's tiles) row by row: a transition
// set's island laid out by corners (8 x 8), other kinds' tiles in turn, on
// at least fewest_cells a side.
struct SampleMap {
    int size = 0;
    std::vector<int> tiles;
};
SampleMap sample_map(const RenderSettings& settings, const SheetLayout& layout, int tile_count, int fewest_cells = 1);

// The tileset written beside a sheet: the sheet's name with ".tsx".
std::string sheet_tileset_path(const std::string& sheet);
