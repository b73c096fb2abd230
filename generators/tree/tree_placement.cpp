#include "generators/tree/tree_placement.hpp"

#include "canvas/tile_geometry.hpp"

int draw_tree_count(RandomSource& random, bool multi_tree) {
    const int count = random_below(random, 4) + 1;
    return multi_tree ? count : 1;
}

TreeBase draw_tree_base(RandomSource& random, int half_width, bool single_tree) {
    const int x = TileGeometry::centre_x + random_below(random, half_width) - half_width / 2;
    const int y = TileGeometry::ground_y + random_below(random, half_width / 2) - half_width / 4;
    if (single_tree) return {TileGeometry::centre_x, TileGeometry::ground_y};
    return {x, y};
}
