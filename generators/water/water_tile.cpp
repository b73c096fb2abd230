#include "state/tile_setup.hpp"
#include "generators/tile_kinds.hpp"
#include "generators/water/water_surface.hpp"

// A flat diamond of water; the outline, if asked for, shows only where the
// water does not cover it.
void draw_water_tile(TileContext& context) {
    begin_tile(context, tile_area_colour);
    paint_water(context);
    show_tile(context);
}
