#pragma once
#include "pixel_image.hpp"

#include <span>

namespace texgen {

// One row of tiling textures, for the sheet builder, the contact sheet and the tests.
struct TilingRow {
    const char* name;
    int count;   // variants in the row
    int period;  // repeat in pixels: the cell size
    bool on_building_sheet;
    int first_cell;         // sheet cell of variant 0 (row-major on its sheet)
    bool darkened_to_half;  // read with random darkening down to 0.5
    Rgb (*texel)(int index, int x, int y);
};

std::span<const TilingRow> tiling_rows();

}  // namespace texgen
