#include "state/app_state.hpp"

#include "assets/builtin_assets.hpp"
#include "canvas/png_image.hpp"

#include <algorithm>
#include <cmath>

void fill_fixed_tables(AppState& state) {
    // The divisor is a single-precision constant close to, but not exactly,
    // 180/pi, so an index step is slightly more than a degree.
    const double divisor = static_cast<double>(57.1428f);
    for (int i = 0; i <= 360; ++i) {
        state.sin_table[i] = static_cast<float>(std::sin(i / divisor));
        state.cos_table[i] = static_cast<float>(std::cos(i / divisor));
    }
    state.flower_colours = {rgb(255, 0, 0), rgb(255, 255, 0), rgb(255, 180, 0), rgb(255, 0, 255), rgb(0, 0, 250), 0};
    state.fence_colours = {rgb(255, 255, 255), rgb(200, 180, 0), rgb(155, 120, 10),
                           rgb(195, 195, 195), rgb(180, 130, 0), 0};
    for (int i = 0; i < colour_table_size; ++i) {
        state.trunk_colours[i] = rgb(60 + 15 * i, 20 + 10 * i, 0);
        state.leaf_colours[i] = rgb(5 + 20 * i, 60 + 30 * i, 0);
    }
}

void reset_drawing_state(AppState& state) {
    state.wall_texture = state.roof_texture = state.door_texture = state.windows_texture = 0;
    state.ground_texture = state.mountain_texture = state.terrain_water_texture = 0;
    state.water_texture_1 = state.water_texture_2 = 0;
    state.grass_colour = 0;
    state.chosen_walls.fill(0);
    state.chosen_roofs.fill(0);
    state.chooser_marks.fill(0);
    state.chosen_wall_count = state.chosen_roof_count = 0;
    state.ruins_mode = false;
    state.house_height = 0;
    state.point_x.fill(0);
    state.point_y.fill(0);
    std::fill(state.grass_mask.begin(), state.grass_mask.end(), 0);
    std::fill(state.mountain_profile.begin(), state.mountain_profile.end(), 0);
    std::fill(state.height_field.begin(), state.height_field.end(), 0.0f);
    state.mountain_values.fill(0);
    state.last_tab = 0;
    state.roof_side = 1;
    state.save_counter = 0;
    state.file_name.clear();
    state.last_drawn_tab = -1;
}

std::unique_ptr<AppState> create_app_state() {
    auto state = std::make_unique<AppState>();
    fill_fixed_tables(*state);
    auto about = image_from_png(builtin_asset(BuiltinAsset::AboutImage));
    auto boulders = image_from_png(builtin_asset(BuiltinAsset::BoulderSheet));
    auto ground = image_from_png(builtin_asset(BuiltinAsset::GroundSheet));
    auto building = image_from_png(builtin_asset(BuiltinAsset::BuildingSheet));
    if (!about || !boulders || !ground || !building) return nullptr;
    state->about_image = std::move(*about);
    state->boulder_sheet = {std::move(*boulders), 64};
    state->ground_sheet = {std::move(*ground), 64};
    state->building_sheet = {std::move(*building), 128};
    return state;
}
