#include "generators/generators.hpp"

#include "canvas/tile_frame.hpp"

// Until the tree generator is built, its tab draws the bare tile frame.
void draw_tree_tile(TileContext& context) {
    begin_tile(context, tile_area_colour);
    show_tile(context);
}
