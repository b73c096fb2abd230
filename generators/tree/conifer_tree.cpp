#include "generators/tree/conifer_tree.hpp"

#include "canvas/numbers.hpp"
#include "canvas/tile_geometry.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr int widest_angle = 180;  // index 180 is just past a half turn

struct TierLayout {
    int count = 0;
    int spacing = 0;     // dy: rows between tiers
    int width_step = 0;  // ws: each tier is this much narrower than the last
    int drop = 0;        // yo: how far below its row a tier's ellipse hangs
};

// Lines from both sides of the foot to one apex, black on the left to a warm
// brown on the right.
void paint_trunk(TreeCanvas& canvas, TreeBase base, int half_width, int crown_height) {
    const int apex_y = nearest_to_int(base.y - 0.8 * crown_height);
    // A slim cone: round across its width, narrowing to the apex.
    const double radius = half_width + 0.5, tall = std::max(base.y - apex_y, 1);
    canvas.dc.set_surface(round_upright(base.x + 0.5f, static_cast<float>(radius), static_cast<float>(base.y),
                                        static_cast<float>(radius / tall), radius / std::hypot(radius, tall),
                                        static_cast<float>(base.y)));
    for (int k = -half_width; k <= half_width; ++k) {
        const float f = static_cast<float>((k + half_width) / (2.0 * half_width));
        const Colour shade =
            rgb(nearest_to_int(160 * static_cast<double>(f)), nearest_to_int(130 * static_cast<double>(f)),
                nearest_to_int(20 * static_cast<double>(f)));
        canvas.dc.set_painted_light(f);
        canvas.dc.line_xy(base.x + k, base.y, base.x, apex_y, shade);
    }
}

// One tier: strokes from the trunk axis out and down to the lower half of an
// ellipse, one angle in e (10..14) getting a stroke, darker on the left.
int paint_tier(TreeCanvas& canvas, TreeBase base, int size, int tier, const TierLayout& layout) {
    RandomSource& random = canvas.random;
    const AppState& tables = canvas.tables;
    // Tiers hang from the tile's centre row, not from this tree's own foot.
    const int row = TileGeometry::ground_y - layout.spacing * tier;
    const int sparseness = random_below(random, 5) + 10;
    const int reach = nearest_to_int(size / 2.5 - layout.width_step * tier);
    const int sag = reach / 3;
    // The tier is a cone's skirt: round about the axis, its side falling by
    // the drop over the reach.
    if (canvas.dc.mapping_surfaces()) {
        const double run = std::max(reach, 1) * ground_step_in_height;
        canvas.dc.set_surface(round_upright(base.x + 0.5f, static_cast<float>(std::max(reach, 1)), 0.0f, 0.0f,
                                            run / std::hypot(run, layout.drop + sag / 2.0),
                                            static_cast<float>(base.y)));
    }
    int strokes = 0;
    for (int a = widest_angle; a >= 0; --a) {
        if (random_below(random, sparseness) != 0) continue;
        const double cos_a = tables.cos_table[a];
        const float f = static_cast<float>(cos_a * 0.375 + 0.625);
        const int start_y = row + random_below(random, layout.spacing);
        const int end_x = nearest_to_int(base.x + cos_a * reach);
        const int end_y = nearest_to_int(row + static_cast<double>(tables.sin_table[a]) * sag + layout.drop +
                                         random_below(random, layout.spacing / 2));
        const Colour needles =
            rgb(nearest_to_int(50 * static_cast<double>(f)), nearest_to_int(130 * static_cast<double>(f)),
                nearest_to_int(20 * static_cast<double>(f)));
        canvas.dc.set_painted_light(f);
        canvas.dc.line_xy(base.x, start_y, end_x, end_y, needles);
        ++strokes;
    }
    return strokes;
}
}  // namespace

int conifer_trunk_half_width(int size) { return trunc_to_int(size / 20.0 + 0.5); }

PlantedTree draw_conifer_tree(TreeCanvas& canvas, bool single_tree) {
    RandomSource& random = canvas.random;
    const int size = canvas.half_width + random_below(random, canvas.half_width / 4);
    const int trunk_half_width = conifer_trunk_half_width(size);
    const TreeBase base = draw_tree_base(random, canvas.half_width, single_tree);
    const int crown_height = nearest_to_int(size * 1.5);
    paint_trunk(canvas, base, trunk_half_width, crown_height);

    TierLayout layout;
    layout.count = conifer_tier_count(size);
    layout.spacing = crown_height / layout.count;
    layout.width_step = size / 3 / layout.count;
    layout.drop = random_below(random, size / 5) + size / 5;

    PlantedTree tree;
    tree.base = base;
    tree.size = size;
    tree.trunk_width = trunk_half_width;
    tree.tier_count = layout.count;
    for (int tier = 1; tier <= layout.count; ++tier) tree.stroke_count += paint_tier(canvas, base, size, tier, layout);
    return tree;
}
