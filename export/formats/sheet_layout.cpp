#include "export/formats/sheet_layout.hpp"

#include "canvas/drawing_context.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr Colour frame_purple = rgb(128, 0, 128);

int round_up_even(int v) { return v + (v & 1); }
}  // namespace

void place_cells(SheetLayout& layout, int count, int columns, int spacing, int margin) {
    layout.columns = columns > 0 ? std::min(columns, count)
                                 : std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count)))));
    layout.rows = (count + layout.columns - 1) / layout.columns;
    layout.spacing = spacing;
    layout.margin = margin;
    // Map editors and engines count a sheet's columns as (width - margin +
    // spacing) / (cell + spacing): a margin at the right or bottom as wide as
    // a cell and its spacing would read as one more column or row.
    const int right_margin = std::min(margin, layout.cell_width + spacing - 1);
    const int bottom_margin = std::min(margin, layout.cell_height + spacing - 1);
    layout.width = margin + layout.columns * layout.cell_width + (layout.columns - 1) * spacing + right_margin;
    layout.height = margin + layout.rows * layout.cell_height + (layout.rows - 1) * spacing + bottom_margin;
}

SheetLayout lay_out_sheet(const std::vector<RenderedTile>& tiles, int iso_width, int columns, int spacing, int margin) {
    SheetLayout layout;
    layout.diamond_width = iso_width;
    layout.diamond_height = iso_width / 2;
    // Around the anchor: the diamond at least (its pixels run from
    // anchor - W/2 + 1 to anchor + W/2), and whatever a tile paints. A cell
    // as wide as the diamond lets Tiled stand tile objects on their point.
    int left = iso_width / 2 - 1, right = iso_width / 2 + 1, up = iso_width / 4 + 1, down = iso_width / 4 + 1;
    for (const RenderedTile& tile : tiles) {
        left = std::max(left, tile.anchor_x);
        up = std::max(up, tile.anchor_y);
        right = std::max(right, tile.image.width() - tile.anchor_x);
        down = std::max(down, tile.image.height() - tile.anchor_y);
    }
    layout.cell_width = round_up_even(left + right);
    layout.cell_height = round_up_even(up + down);
    layout.anchor_x = left;
    layout.anchor_y = up;
    place_cells(layout, static_cast<int>(tiles.size()), columns, spacing, margin);
    return layout;
}

Sheet compose_sheet(const std::vector<RenderedTile>& tiles, const SheetLayout& layout, bool cell_outlines) {
    Sheet sheet{RasterImage(layout.width, layout.height),
                std::vector<std::uint8_t>(static_cast<std::size_t>(layout.width) * layout.height, 0)};
    // Frames first: a cell can be as wide as the diamond, and a tile's
    // pixels on its edge stay the tile's.
    for (std::size_t k = 0; cell_outlines && k < tiles.size(); ++k) {
        DrawingContext dc(sheet.image);
        dc.set_drawing_mode(DrawingMode::Outlined);
        const int cx = layout.cell_x(static_cast<int>(k)), cy = layout.cell_y(static_cast<int>(k));
        dc.box(cx, cy, layout.cell_width, layout.cell_height, frame_purple);
        for (int x = cx; x < cx + layout.cell_width; ++x)
            for (int y : {cy, cy + layout.cell_height - 1})
                sheet.alpha[static_cast<std::size_t>(y) * layout.width + x] = 255;
        for (int y = cy; y < cy + layout.cell_height; ++y)
            for (int x : {cx, cx + layout.cell_width - 1})
                sheet.alpha[static_cast<std::size_t>(y) * layout.width + x] = 255;
    }
    for (std::size_t k = 0; k < tiles.size(); ++k) {
        const RenderedTile& tile = tiles[k];
        const int x0 = layout.cell_x(static_cast<int>(k)) + layout.anchor_x - tile.anchor_x;
        const int y0 = layout.cell_y(static_cast<int>(k)) + layout.anchor_y - tile.anchor_y;
        for (int y = 0; y < tile.image.height(); ++y)
            for (int x = 0; x < tile.image.width(); ++x) {
                const std::uint8_t a =
                    tile.alpha.empty() ? 255 : tile.alpha[static_cast<std::size_t>(y) * tile.image.width() + x];
                if (a == 0) continue;
                sheet.image.set_pixel(x0 + x, y0 + y, tile.image.pixel(x, y));
                sheet.alpha[static_cast<std::size_t>(y0 + y) * layout.width + x0 + x] = a;
            }
    }
    return sheet;
}
