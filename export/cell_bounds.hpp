#pragma once
#include "export/sheet_layout.hpp"

// The most a tile of a kind can paint around its anchor (the diamond's
// centre) at a width: what a sheet cell must hold, known before anything
// is drawn. From the generators' geometry with room to spare, never past
// the canvas; tests draw every kind to hold it to that.
struct CellBound {
    int left = 0, right = 0, up = 0, down = 0;
    int width() const { return left + right + ((left + right) & 1); }
    int height() const { return up + down + ((up + down) & 1); }
};
CellBound largest_cell(int tab, int iso_width);
// For a run's settings: an unlocked house takes widths up to 160.
CellBound largest_cell(const RenderSettings& settings);

// The sheet `count` cells of that size would make.
SheetLayout sheet_for_cells(const CellBound& cell, int count, int columns, int spacing, int margin);
