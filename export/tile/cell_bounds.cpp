#include "export/tile/cell_bounds.hpp"

#include "canvas/tile_geometry.hpp"
#include "export/tile/render_canvas.hpp"

#include <algorithm>

CellBound largest_cell(TileKind kind, int w) {
    CellBound cell = kind_row(kind).reach(w);
    // Never past the canvas the tile is drawn on.
    const RenderCanvas canvas = render_canvas_for_width(w);
    cell.left = std::min<int>(cell.left, TileGeometry::centre_x + canvas.origin_x);
    cell.right = std::min<int>(cell.right, canvas.width - TileGeometry::centre_x - canvas.origin_x);
    cell.up = std::min<int>(cell.up, TileGeometry::ground_y + canvas.origin_y);
    cell.down = std::min<int>(cell.down, canvas.height - TileGeometry::ground_y - canvas.origin_y);
    return cell;
}

CellBound largest_cell(const TileRequest& settings) {
    return largest_cell(settings.kind, run_widest_drawn_width(settings));
}

SheetLayout sheet_for_cells(const CellBound& cell, int count, int columns, int spacing, int margin) {
    SheetLayout layout;
    layout.cell_width = cell.width();
    layout.cell_height = cell.height();
    place_cells(layout, count, columns, spacing, margin);
    return layout;
}
