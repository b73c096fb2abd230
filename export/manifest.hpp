#pragma once
#include "export/render_settings.hpp"
#include "export/sheet_layout.hpp"

#include <cstdint>
#include <string>
#include <vector>

// What a run's manifest says of one tile, kept small: a run of a million
// tiles would not fit as one tree of JSON values.
struct TileRecord {
    int width = 0, height = 0, left = 0, top = 0, anchor_x = 0, anchor_y = 0;
    std::uint64_t seed = 0;
    std::string drawn;  // the settings it was drawn with, as JSON text
};

TileRecord record_of(const RenderedTile& tile);

// The file name of tile `index` of a run: "house-0007.png"; the number has
// as many digits as the run's largest index needs, four at least.
std::string tile_file_name(const RenderSettings& settings, int index);

// The manifest of a run of one file a tile: for each its file, seed, size,
// place on the canvas, anchor and settings.
std::string run_manifest(const RenderSettings& settings, const std::vector<TileRecord>& records);

// The manifest of a sheet named `image`: the sheet's grid, then each tile's
// cell, seed, anchor in its cell and settings.
std::string sheet_manifest(const RenderSettings& settings, const std::vector<TileRecord>& records,
                           const SheetLayout& layout, const std::string& image);
