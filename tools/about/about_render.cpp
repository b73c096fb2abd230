#include "about_render.hpp"

#include "commands/application.hpp"
#include "state/control_ids.hpp"

#include <algorithm>
#include <memory>

namespace {
// A half-timbered house with a tiled roof on grass at the default width, the
// roof on the right so the left front wall shows its gable, flowers in front.
void set_about_choices(AppState& state) {
    state.chosen_walls[0] = 16;
    state.chosen_wall_count = 1;
    state.chosen_roofs[0] = 0;
    state.chosen_roof_count = 1;
    state.door_texture = 0;
    state.windows_texture = 2;
    state.ground_texture = 3;
}

void set_about_controls(ControlModel& controls) {
    using namespace ctl;
    for (const auto& [control, state] : std::initializer_list<std::pair<int, int>>{{panel, tab_house},
                                                                                   {iso_width, 6},
                                                                                   {lock_size, 1},
                                                                                   {house_shape, 0},
                                                                                   {lock_shape, 1},
                                                                                   {lowest_height, 4},
                                                                                   {highest_height, 4},
                                                                                   {lock_height, 1},
                                                                                   {roof_shape, 1},
                                                                                   {lock_roof, 1},
                                                                                   {add_ground, 1},
                                                                                   {add_flowers, 1},
                                                                                   {grass, 1},
                                                                                   {lock_density, 1},
                                                                                   {grass_density, 4},
                                                                                   {lock_grass_height, 1},
                                                                                   {grass_height, 4},
                                                                                   {lock_wall_texture, 1},
                                                                                   {lock_roof_texture, 1},
                                                                                   {lock_door_texture, 1},
                                                                                   {lock_windows_texture, 1},
                                                                                   {terrain_lock_ground_texture, 1}})
        controls.write(control, state);
}
}  // namespace

RasterImage render_about_image(const RasterImage& building_sheet, const RasterImage& ground_sheet,
                               const RasterImage& boulder_sheet, std::uint64_t seed) {
    auto state = std::make_unique<AppState>();
    fill_fixed_tables(*state);
    state->building_sheet = {building_sheet, 128};
    state->ground_sheet = {ground_sheet, 64};
    state->boulder_sheet = {boulder_sheet, 64};
    set_about_choices(*state);
    Application app(std::move(state));
    app.random().seed(seed);
    set_about_controls(app.controls());
    app.control_event(ctl::draw_random_button);

    // Centre the crop on what was painted.
    const RasterImage& tile = app.state().canvas;
    int left = tile.width(), right = -1, top = tile.height(), bottom = -1;
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            if (tile.pixel(x, y) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    const int x0 = (left + right + 1) / 2 - about_width / 2;
    const int y0 = (top + bottom + 1) / 2 - about_height / 2;
    return grab_image(tile, x0, y0, about_width, about_height);
}
