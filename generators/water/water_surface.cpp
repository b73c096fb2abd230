#include "generators/water/water_surface.hpp"

#include "app/state/control_ids.hpp"
#include "canvas/diamond_mapping.hpp"
#include "canvas/drawing_context.hpp"
#include "canvas/numbers.hpp"

namespace {
constexpr int texture_cell = 64;
constexpr int water_row_y = 320;  // five 64-pixel rows below the top
constexpr int cells_per_row = 10;
constexpr int water_texture_count = 10;
// r > 50 picks the first texture: 49 chances in 100, the second gets 51.
constexpr int first_texture_above = 50;
}  // namespace

SheetPoint water_cell_origin(int index) {
    return {texture_cell * (index % cells_per_row), water_row_y + texture_cell * (index / cells_per_row)};
}

void paint_water(TileContext& context) {
    AppState& state = context.state;
    RandomSource& random = context.random;
    if (!context.controls.checked(ctl::lock_water_texture_1))
        state.water_texture_1 = random_below(random, water_texture_count);
    if (!context.controls.checked(ctl::lock_water_texture_2))
        state.water_texture_2 = random_below(random, water_texture_count);

    const SheetPoint first = water_cell_origin(state.water_texture_1);
    const SheetPoint second = water_cell_origin(state.water_texture_2);
    const int half_width = state.geometry.half_width;
    const float step = 64.0f / static_cast<float>(half_width);
    const RasterImage& sheet = state.ground_sheet.image;

    DrawingContext dc(state.canvas);
    for (int i = 0; i < half_width; ++i) {
        for (int j = 0; j < half_width; ++j) {
            const SheetPoint& cell = random_below(random, 100) > first_texture_above ? first : second;
            // Read in place from the whole sheet; the cell is never cut out.
            const Colour texel = sheet.colour_at(nearest_to_int(cell.x + i * static_cast<double>(step)),
                                                 nearest_to_int(cell.y + j * static_cast<double>(step)));
            const float shade = static_cast<float>(random_below(random, 50) / 100.0 + 0.5);
            const Colour water = rgb(nearest_to_int(red(texel) * static_cast<double>(shade)),
                                     nearest_to_int(green(texel) * static_cast<double>(shade)),
                                     nearest_to_int(blue(texel) * static_cast<double>(shade)));
            // The pixel pair closes the gaps the half-pixel vertical steps leave.
            const CanvasPoint at = diamond_pixel(half_width, i, j);
            dc.plot(at.x, at.y, water);
            dc.plot(at.x + 1, at.y, water);
        }
    }
}
