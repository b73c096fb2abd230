#include "generators/generators.hpp"

#include "app/state/tile_frame.hpp"

// Until the mountain generator is built, its tab draws the bare tile frame.
void draw_mountain_tile(TileContext& context) {
    begin_tile(context, mountain_tile_area_colour);
    show_tile(context);
}
