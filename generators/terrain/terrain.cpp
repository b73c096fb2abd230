#include "generators/terrain/terrain.hpp"

#include "state/control_ids.hpp"
#include "state/tile_setup.hpp"
#include "generators/terrain/terrain_layout.hpp"
#include "generators/terrain/terrain_pass.hpp"

#include <algorithm>

namespace {
constexpr int ground_texture_count = 20;
constexpr int water_texture_count = 10;
constexpr int random_blade_heights = 13;  // an unlocked height is 0..12
constexpr Colour default_grass_colour = rgb(20, 100, 10);

void draw_terrain_textures(TileContext& context) {
    AppState& state = context.state;
    if (!context.controls.checked(ctl::terrain_lock_ground_texture))
        state.ground_texture = random_below(context.random, ground_texture_count);
    if (!context.controls.checked(ctl::lock_terrain_water_texture))
        state.terrain_water_texture = random_below(context.random, water_texture_count);
}

BladeSettings read_blade_settings(TileContext& context, int half_width, int height_item) {
    BladeSettings blades{height_item, context.controls.checked(ctl::make_crops)};
    // The height is drawn whether or not crops replace it, so the draws that
    // follow do not depend on "Make crops".
    if (!context.controls.checked(ctl::lock_grass_height))
        blades.height = random_below(context.random, random_blade_heights);
    if (blades.crops) blades.height = half_width / 5;
    if (!context.controls.checked(ctl::lock_colour_texture)) context.state.grass_colour = default_grass_colour;
    return blades;
}
}  // namespace

void draw_terrain(TileContext& context) {
    AppState& state = context.state;
    std::fill(state.grass_mask.begin(), state.grass_mask.end(), cell_empty);
    DrawingContext dc(state.canvas, context.request.surfaces, context.request.painted);
    // Also wipes the tile-area outline: terrain never shows it.
    dc.erase_box(0, 0, 1000, 1000, context.request.background);

    const int half_width = set_half_width(context);
    const int height_item = context.controls.read(ctl::grass_height);
    lay_out_terrain(context, half_width, context.controls.read(ctl::grass_density));
    draw_terrain_textures(context);
    paint_ground(context, dc, half_width);
    const BladeSettings blades = read_blade_settings(context, half_width, height_item);
    paint_terrain_elements(context, dc, half_width, blades);
}

void draw_terrain_tile(TileContext& context) {
    begin_tile(context, tile_area_colour);
    draw_terrain(context);
    show_tile(context);
}
