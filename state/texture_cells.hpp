#pragma once

// Where each texture lies in the built-in sheets. The ground sheet holds
// 64 x 64 cells ten to a row: doors (row 0), windows (row 1), grass grounds
// and other grounds (rows 3 and 4), waters (row 5), rock and earth (rows 6
// and 7). The building sheet holds 128 x 128 cells six to a row: walls and
// plasters (rows 0 to 3), roofs (rows 4 and 5). Indices past a row's end
// continue on the rows below it.
struct SheetPoint {
    int x = 0;
    int y = 0;
};

inline constexpr int ground_cell_size = 64;
inline constexpr int building_cell_size = 128;

namespace texture_cells_detail {
constexpr SheetPoint ground_sheet_cell(int index, int first_row_y) {
    return {ground_cell_size * (index % 10), first_row_y + ground_cell_size * (index / 10)};
}
}  // namespace texture_cells_detail

constexpr SheetPoint door_cell_origin(int index) { return texture_cells_detail::ground_sheet_cell(index, 0); }
constexpr SheetPoint window_cell_origin(int index) { return texture_cells_detail::ground_sheet_cell(index, 64); }
constexpr SheetPoint ground_cell_origin(int index) { return texture_cells_detail::ground_sheet_cell(index, 192); }
constexpr SheetPoint water_cell_origin(int index) { return texture_cells_detail::ground_sheet_cell(index, 320); }
constexpr SheetPoint mountain_cell_origin(int index) { return texture_cells_detail::ground_sheet_cell(index, 384); }

// Cell `cell` of the building sheet: walls are cells 0..23, roofs 24..35.
constexpr SheetPoint building_cell_origin(int cell) {
    return {building_cell_size * (cell % 6), building_cell_size * (cell / 6)};
}
