#include "commands/commands.hpp"

#include "state/control_ids.hpp"
#include "state/tile_frame.hpp"
#include "generators/generators.hpp"

void draw_random(TileContext& context) {
    compute_house_footprint(context);
    const int tab = context.controls.read(ctl::panel);
    context.state.last_tab = static_cast<std::int8_t>(tab);
    switch (tab) {
        case tab_house: draw_house_tile(context); break;
        case tab_tree: draw_tree_tile(context); break;
        case tab_terrain: draw_terrain_tile(context); break;
        case tab_mountain: draw_mountain_tile(context); break;
        case tab_water: draw_water_tile(context); break;
        default: return;  // About: the canvas keeps what it holds
    }
    context.state.last_drawn_tab = tab;
}
