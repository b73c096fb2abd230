#pragma once
#include "export/formats/sheet_layout.hpp"
#include "export/tile/tile_request.hpp"
#include "generators/tile_kinds.hpp"

// The most a tile of a kind can paint around its anchor at a width (the
// kind's reach), never past the canvas: what a sheet cell must hold, known
// before anything is drawn. Tests draw every kind to hold it to that.
CellBound largest_cell(TileKind kind, int iso_width);
// For a run's settings: an unlocked house takes widths up to 160.
CellBound largest_cell(const TileRequest& settings);

// The sheet `count` cells of that size would make.
SheetLayout sheet_for_cells(const CellBound& cell, int count, int columns, int spacing, int margin);
