#include "state/texture_cells.hpp"
#include "canvas/numbers.hpp"
#include "generators/house/house_parts.hpp"

void draw_roof(TileContext& context, int x1, int y1, int x2, int y2, int x3, int house_height, int side, int cell) {
    const int a = x2 - x1;  // across the left front wall
    const int b = x3 - x2;  // across the right front wall
    const int e = context.state.geometry.house_size / 20;  // the eave's overhang
    const bool left = side == 0;
    // The ridge's start, its length n (texel columns 0..n) and the slope's
    // depth d (texel rows 0..d). Along the ridge the roof follows its front
    // wall; down the slope it moves half a pixel sideways a row.
    const int px = left ? x1 - e + b / 2 : x2 - a / 2;
    const int py = left ? y1 - house_height - b + e : y2 - house_height - a + e;
    const int n = left ? (x3 - b / 2) - px : b + e / 2;
    const int d = left ? b : a;
    const float q = left ? 1.5f : 1.0f;  // the left slope lies in shadow

    const SheetPoint origin = building_cell_origin(cell);
    const RasterImage& sheet = context.state.building_sheet.image;
    DrawingContext dc(context.state.canvas);
    for (int i = 0; i <= d; ++i) {
        for (int j = 0; j <= n; ++j) {
            const Colour p = sheet.colour_at(origin.x + j, origin.y + i);
            if (p == transparent_key) continue;
            const int x = left ? px + j - i / 2 : px + j + i / 2;
            const int y = left ? py + i + j / 2 : py + i - j / 2;
            const Colour k = left ? rgb(nearest_to_int(red(p) / static_cast<double>(q)),
                                        nearest_to_int(green(p) / static_cast<double>(q)),
                                        nearest_to_int(blue(p) / static_cast<double>(q)))
                                  : p;
            dc.plot(x, y, k);
            dc.plot(x + 1, y, k);
        }
    }
}
