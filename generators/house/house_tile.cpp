#include "generators/generators.hpp"

#include "app/state/tile_frame.hpp"

// Until the house generator is built, its tab draws the bare tile frame.
void draw_house_tile(TileContext& context) {
    begin_tile(context, tile_area_colour);
    show_tile(context);
}
