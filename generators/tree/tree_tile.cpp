#include "state/tile_setup.hpp"
#include "generators/tile_kinds.hpp"
#include "generators/tree/trees.hpp"

void draw_tree_tile(TileContext& context) {
    begin_tile(context, tile_area_colour);
    draw_trees(context);
    show_tile(context);
}
