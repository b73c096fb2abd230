#include "state/control_ids.hpp"
#include "state/tile_setup.hpp"
#include "generators/tile_kinds.hpp"
#include "generators/house/house_height.hpp"
#include "generators/house/house_parts.hpp"
#include "generators/terrain/terrain.hpp"

namespace {
constexpr int wall_texture_count = 24;
constexpr int roof_texture_count = 12;
constexpr int no_roof = 12;  // a ruin's roof_texture
constexpr int first_roof_cell = 24;
constexpr int opening_texture_count = 10;

// Draws the unlocked shape, size, heights and roof side and writes each back
// into its control, so the panel shows what the tile used.
void draw_house_controls(TileContext& context) {
    ControlModel& controls = context.controls;
    RandomSource& random = context.random;
    if (!controls.checked(ctl::lock_shape)) controls.write(ctl::house_shape, random_below(random, 4));
    if (!controls.checked(ctl::lock_size)) controls.write(ctl::iso_width, random_below(random, 8) + 5);
    if (!controls.checked(ctl::lock_height)) {
        const int from = random_below(random, 7) + 1;
        int to = from + random_below(random, 5);
        if (to > 8) to = 8;
        controls.write(ctl::lowest_height, from);
        controls.write(ctl::highest_height, to);
    }
    if (!controls.checked(ctl::lock_roof)) controls.write(ctl::roof_shape, random_below(random, 2));
}

void draw_house_textures(TileContext& context) {
    AppState& state = context.state;
    const ControlModel& controls = context.controls;
    RandomSource& random = context.random;
    state.wall_texture = controls.checked(ctl::lock_wall_texture) ? pick_chosen_wall(state, random, wall_texture_count)
                                                                  : random_below(random, wall_texture_count);
    state.roof_texture = controls.checked(ctl::lock_roof_texture) ? pick_chosen_roof(state, random, roof_texture_count)
                                                                  : random_below(random, roof_texture_count);
    if (state.ruins_mode) state.roof_texture = no_roof;
    if (!controls.checked(ctl::lock_door_texture)) state.door_texture = random_below(random, opening_texture_count);
    if (!controls.checked(ctl::lock_windows_texture))
        state.windows_texture = random_below(random, opening_texture_count);
}

// "Random element": each of flowers, left and right fence 3 times in 10.
void draw_random_elements(TileContext& context) {
    ControlModel& controls = context.controls;
    for (int box : {ctl::add_flowers, ctl::add_left_fence, ctl::add_right_fence}) controls.write(box, 0);
    for (int box : {ctl::add_flowers, ctl::add_left_fence, ctl::add_right_fence})
        if (random_below(context.random, 10) > 6) controls.write(box, 1);
}
}  // namespace

void draw_house_tile(TileContext& context) {
    AppState& state = context.state;
    state.ruins_mode = context.controls.checked(ctl::draw_ruins);
    draw_house_controls(context);
    compute_house_footprint(context);
    read_roof_side(context);
    begin_tile(context, tile_area_colour);
    if (context.controls.checked(ctl::draw_only_tile_area)) {
        show_tile(context);
        return;
    }

    draw_house_textures(context);
    state.house_height = static_cast<std::int16_t>(pick_house_height(context.controls, context.random));
    if (context.controls.checked(ctl::add_ground)) draw_terrain(context);  // also clears the outline

    for (int face : {left_back_face, right_back_face, right_front_face, left_front_face})
        draw_wall_face(context, face, state.house_height);
    const TileGeometry& g = state.geometry;
    if (!state.ruins_mode)
        draw_roof(context, g.house_left_x, g.house_left_y, g.house_front_x, g.house_front_y, g.house_right_x,
                  state.house_height, state.roof_side, state.roof_texture + first_roof_cell);
    if (context.controls.checked(ctl::random_element)) draw_random_elements(context);
    draw_house_extras(context);
    show_tile(context);
}
