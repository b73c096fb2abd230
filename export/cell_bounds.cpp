#include "export/cell_bounds.hpp"

#include "canvas/tile_geometry.hpp"
#include "export/render_canvas.hpp"
#include "state/control_ids.hpp"

#include <algorithm>

CellBound largest_cell(int tab, int w) {
    // The diamond and the ground under it reach half the width across and
    // a quarter of it down; what stands on it (walls and roofs, trees,
    // peaks) reaches up, and fences, trees and bushes past the edges.
    CellBound cell{w / 2, w / 2 + 1, w / 4 + 2, w / 4 + 2};
    if (tab == tab_mountain) cell.up = w * 2 / 3 + 4;
    if (tab == tab_house || tab == tab_tree || tab == tab_terrain) {
        const int beyond = w / 5 + 4;
        cell.left += beyond, cell.right += beyond, cell.down += beyond;
        cell.up = paint_reach(w).up;
    }
    // Never past the canvas the tile is drawn on.
    const RenderCanvas canvas = render_canvas_for_width(w);
    cell.left = std::min<int>(cell.left, TileGeometry::centre_x + canvas.origin_x);
    cell.right = std::min<int>(cell.right, canvas.width - TileGeometry::centre_x - canvas.origin_x);
    cell.up = std::min<int>(cell.up, TileGeometry::ground_y + canvas.origin_y);
    cell.down = std::min<int>(cell.down, canvas.height - TileGeometry::ground_y - canvas.origin_y);
    return cell;
}

CellBound largest_cell(const RenderSettings& settings) {
    return largest_cell(settings.tab, widest_drawn_width(settings));
}

SheetLayout sheet_for_cells(const CellBound& cell, int count, int columns, int spacing, int margin) {
    SheetLayout layout;
    layout.cell_width = cell.width();
    layout.cell_height = cell.height();
    place_cells(layout, count, columns, spacing, margin);
    return layout;
}
