#include "generators/terrain/terrain_layout.hpp"

#include "state/control_ids.hpp"
#include "canvas/numbers.hpp"

#include <algorithm>

namespace {
constexpr int random_density_items = 12;  // an unlocked density is 0..11
constexpr int pool_stamp_reach = 3;       // the walk stamps 7 x 7 squares

void place_if_free(AppState& state, int i, int j, TerrainCell what) {
    std::int8_t& cell = terrain_cell(state, i, j);
    if (cell == cell_empty) cell = what;
}

// A random walk from the middle that stamps overlapping squares of water,
// held r cells from the grid's edges so the stamps stay on the ground.
void stamp_pool(TileContext& context, int half_width) {
    const int steps = 8 * half_width + 1;
    const int r = pool_margin(half_width);
    int pi = half_width / 2;
    int pj = half_width / 2;
    for (int step = 0; step < steps; ++step) {
        pi = std::min(std::max(pi, r), half_width - r);
        pj = std::min(std::max(pj, r), half_width - r);
        for (int a = -pool_stamp_reach; a <= pool_stamp_reach; ++a)
            for (int b = -pool_stamp_reach; b <= pool_stamp_reach; ++b)
                terrain_cell(context.state, pi + a, pj + b) = cell_pool;
        pi += random_below(context.random, 5) - 2;
        pj += random_below(context.random, 5) - 2;
    }
}

void seed_grass(TileContext& context, int half_width, int density_item) {
    if (!context.controls.checked(ctl::lock_density)) density_item = random_below(context.random, random_density_items);
    if (density_item <= 0) return;
    for (int seed = 0; seed < half_width * density_item; ++seed) {
        const int gi = random_below(context.random, half_width);
        const int gj = random_below(context.random, half_width);
        place_if_free(context.state, gi, gj, cell_grass);
    }
}

// Boulders and trees share their placement: mostly in the left half of the
// diamond, j from 0.4 H to about 1.1 H (beyond H never drawn).
void place_left_of_centre(TileContext& context, int half_width, int count, TerrainCell what) {
    const int reach = nearest_to_int(boulder_reach * half_width);
    for (int n = 0; n < count; ++n) {
        const int bi = random_below(context.random, reach);
        const int bj = nearest_to_int(random_below(context.random, reach) + boulder_offset * half_width);
        place_if_free(context.state, bi, bj, what);
    }
}

void place_bushes(TileContext& context, int half_width) {
    const int count = random_below(context.random, 6) + 2;
    const int reach = nearest_to_int(bush_reach * half_width);
    for (int n = 0; n < count; ++n) {
        const int ui = random_below(context.random, reach);
        const int uj = nearest_to_int(random_below(context.random, reach) + bush_offset * half_width);
        place_if_free(context.state, ui, uj, cell_bush);
    }
}
}  // namespace

void lay_out_terrain(TileContext& context, int half_width, int density_item) {
    const ControlModel& controls = context.controls;
    if (controls.checked(ctl::pool)) stamp_pool(context, half_width);
    if (controls.checked(ctl::grass)) seed_grass(context, half_width, density_item);
    if (controls.checked(ctl::boulder)) {
        const int item = controls.read(ctl::boulder_quantity);  // 0 is "Random"
        const int count = item == 0 ? random_below(context.random, 10) + 1 : item;
        place_left_of_centre(context, half_width, count, cell_boulder);
    }
    if (controls.checked(ctl::terrain_tree))
        place_left_of_centre(context, half_width, random_below(context.random, 3) + 1, cell_tree);
    if (controls.checked(ctl::bush)) place_bushes(context, half_width);
}
