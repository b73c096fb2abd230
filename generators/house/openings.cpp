#include "generators/house/openings.hpp"

#include "state/texture_cells.hpp"
#include "canvas/drawing_context.hpp"
#include "canvas/numbers.hpp"

#include <array>

namespace {
enum class Opening { none, window, door };

// The door or window cell of the ground sheet scaled to w x h and copied
// into the wall image as it is: the shading comes later, with the wall.
void paste_opening(TileContext& context, DrawingContext& dc, Opening kind, int x, int y, int w, int h) {
    const SheetPoint cell = kind == Opening::door ? door_cell_origin(context.state.door_texture)
                                                  : window_cell_origin(context.state.windows_texture);
    const float sx = 64.0f / static_cast<float>(w);
    const float sy = 64.0f / static_cast<float>(h);
    const RasterImage& sheet = context.state.ground_sheet.image;
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j)
            dc.plot(x + i, y + j,
                    sheet.colour_at(nearest_to_int(cell.x + i * static_cast<double>(sx)),
                                    nearest_to_int(cell.y + j * static_cast<double>(sy))));
}
}  // namespace

void place_openings(TileContext& context, RasterImage& wall, int face_width, int image_height) {
    RandomSource& random = context.random;
    const int unit = context.state.geometry.house_unit;
    const int storey = nearest_to_int(unit * 2.5);
    const int top = image_height - storey;
    const int rows = top / storey;
    const std::array<int, 2> place_x{face_width * 15 / 100, face_width * 65 / 100};
    DrawingContext dc(wall);
    for (int r = 0; r <= rows; ++r) {
        const int lift = r * storey - face_width / 10;
        std::array<Opening, 2> places{Opening::none, Opening::none};
        for (Opening& place : places) {
            // Drawn for every place, whether or not a window fits.
            const bool window = random_below(random, 10) > 4;
            if (window && lift < top) place = Opening::window;
        }
        if (random_below(random, 10) > 4 && r == 0) places[random_below(random, 2)] = Opening::door;
        for (int p = 0; p < 2; ++p) {
            const int y = top - lift;
            if (places[p] == Opening::window) paste_opening(context, dc, Opening::window, place_x[p], y, unit, unit);
            if (places[p] == Opening::door) paste_opening(context, dc, Opening::door, place_x[p], y, unit, 2 * unit);
        }
    }
}
