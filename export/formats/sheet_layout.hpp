#pragma once
#include "export/tile/rendered_tile.hpp"

#include <string>
#include <vector>

// Rendered tiles laid out in a grid of equal cells, each tile placed so its
// diamond's centre sits at the same point of its cell, which is what lets a
// map editor or an engine put every tile on its grid with one offset.
// The largest sheet written: what image editors and engines open readily.
inline constexpr int largest_sheet_side = 16384;
inline constexpr long long largest_sheet_pixels = 64LL * 1024 * 1024;

struct SheetLayout {
    int columns = 0, rows = 0;
    int cell_width = 0, cell_height = 0;  // even, so a cell's centre is a whole pixel
    int anchor_x = 0, anchor_y = 0;       // the diamond's centre inside every cell
    int spacing = 0, margin = 0;          // margin: at the top and left in full, at the right and
                                          // bottom at most a cell and its spacing less one
    int width = 0, height = 0;            // the whole sheet
    int diamond_width = 0, diamond_height = 0;

    int cell_x(int index) const { return margin + (index % columns) * (cell_width + spacing); }
    // Where an engine must put the anchor in a map cell's diamond box (its
    // top corner's row 0): the diamond's top row lies diamond_height / 2 - 1
    // above the anchor, and it has diamond_height rows when that is odd,
    // filling the box from its first row, one fewer when even, from its second.
    int anchor_box_row() const { return diamond_height / 2 - diamond_height % 2; }
    int cell_y(int index) const { return margin + (index / columns) * (cell_height + spacing); }
};

// The smallest cell that holds every tile's painted box and its whole
// diamond around a common anchor. columns 0: about square.
SheetLayout lay_out_sheet(const std::vector<RenderedTile>& tiles, int iso_width, int columns, int spacing, int margin);

// The grid of `count` cells of the layout's cell size: columns (0: about
// square), rows, spacing, margins and the whole sheet's size.
void place_cells(SheetLayout& layout, int count, int columns, int spacing, int margin);

struct Sheet {
    RasterImage image;
    std::vector<std::uint8_t> alpha;  // 0 in gaps and wherever no tile painted
};
// cell_outlines: outline each cell in the window's tile-set purple.
Sheet compose_sheet(const std::vector<RenderedTile>& tiles, const SheetLayout& layout, bool cell_outlines);
