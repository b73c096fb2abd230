#include "commands/commands.hpp"

#include "state/control_ids.hpp"
#include "state/tile_setup.hpp"

void draw_random(TileContext& context) {
    const int tab = context.controls.read(ctl::panel);
    context.state.last_tab = static_cast<std::int8_t>(tab);
    if (const TileKindRow* kind = kind_of_tab(tab)) draw_kind(context, *kind);
    else set_tile_geometry(context);  // About: the canvas keeps what it holds
}

void draw_kind(TileContext& context, const TileKindRow& kind, const KindTile& tile) {
    set_tile_geometry(context);
    kind.draw(context, tile);
    if (kind.tab >= 0) context.state.last_drawn_tab = kind.tab;
}
