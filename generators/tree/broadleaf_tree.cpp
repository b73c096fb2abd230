#include "generators/tree/broadleaf_tree.hpp"

#include "canvas/numbers.hpp"
#include "generators/tree/crown_domes.hpp"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {
constexpr int trunk_columns = 5;
constexpr int branch_colour_index = 3;
constexpr int least_clusters = 10;
constexpr int brightest_leaf = 5;

// The light a table colour was painted with: its share of the brightest
// colour's strongest channel.
float painted_light(Colour colour, Colour brightest, int (*channel)(Colour)) {
    return static_cast<float>(channel(colour)) / static_cast<float>(std::max(channel(brightest), 1));
}

// Five columns dark to light, drawn bottom row first. A fresh jitter comes
// 3 times in 10, so the trunk wobbles by a pixel on its way up.
void paint_trunk(TreeCanvas& canvas, TreeBase base, int height, int thickness, int jitter) {
    const double step = thickness / 4.0;  // q: exact in single precision
    const double half = thickness / 2.0;
    // Round about the axis the columns are laid around at the start.
    canvas.dc.set_surface(round_upright(static_cast<float>(base.x + jitter + 0.5), static_cast<float>(half + 0.5), 0.0f,
                                        0.0f, 0.0, static_cast<float>(base.y)));
    for (int y = base.y; y >= base.y - height; --y) {
        if (random_below(canvas.random, 10) > 6) jitter = random_below(canvas.random, 2);
        // With a thin trunk several columns share a pixel; the lighter, later one wins.
        for (int k = 0; k < trunk_columns; ++k) {
            const Colour bark = canvas.tables.trunk_colours[k];
            canvas.dc.set_painted_light(painted_light(bark, canvas.tables.trunk_colours[trunk_columns - 1], red));
            canvas.dc.plot(nearest_to_int(base.x + k * step + jitter - half), y, bark);
        }
    }
}

// Branch b (from 3 on) grows only if its own draw is at least b - 2, so a
// tree has 2 to 6 of them, all from the left edge of the trunk top.
int paint_branches(TreeCanvas& canvas, TreeBase base, int height, int thickness) {
    RandomSource& random = canvas.random;
    const int top_y = base.y - height;
    const int from_x = nearest_to_int(base.x - 2.0 * (thickness / 4.0));
    int count = 0;
    // Thin limbs reaching up and out, seen from the front.
    canvas.dc.set_surface(standing_plane({0.0, -1.0, 0.5}, 0.0f, static_cast<float>(base.y), 0.0f));
    canvas.dc.set_painted_light(painted_light(canvas.tables.trunk_colours[branch_colour_index],
                                              canvas.tables.trunk_colours[trunk_columns - 1], red));
    for (int b = 1;; ++b) {
        if (b > random_below(random, 5) + 2) break;
        const int to_x = base.x + random_below(random, height) - height / 2;
        const int to_y = top_y - random_below(random, height / 2) - height / 2;
        canvas.dc.line_xy(from_x, top_y, to_x, to_y, canvas.tables.trunk_colours[branch_colour_index]);
        ++count;
    }
    return count;
}

// One oval cluster of scattered leaf pixels. The shade grows with the
// distance and with the offset to the right, so the right rim is lightest.
// Where the leaves land is listed for the maps when they are made, a pixel
// once: one whose surface is the crown's (from id `crown` on) is listed already.
struct LeafList {
    std::vector<std::pair<int, int>> pixels;  // the first `count` are the list
    std::size_t count = 0;
};
void paint_leaf_cluster(TreeCanvas& canvas, int cx, int cy, int radius, int pixels, int width_factor, LeafList* leaves,
                        SurfaceId crown) {
    RandomSource& random = canvas.random;
    const AppState& tables = canvas.tables;
    std::size_t listed = leaves ? leaves->count : 0;
    if (leaves && leaves->pixels.size() < listed + static_cast<std::size_t>(pixels))
        leaves->pixels.resize(listed + static_cast<std::size_t>(pixels));
    for (int n = 0; n < pixels; ++n) {
        const int a = random_below(random, 360);
        const int d = random_below(random, radius);
        const int dx = nearest_to_int(static_cast<double>(tables.cos_table[a]) * d * width_factor / 2);
        const int y = nearest_to_int(cy + static_cast<double>(tables.sin_table[a]) * d);
        // A wider factor can push the index below 0 on the left or past 5.
        const int shade = std::clamp(trunc_to_int((dx + d) / (2.0 * radius) * 5), 0, brightest_leaf);
        canvas.dc.set_painted_light(
            painted_light(tables.leaf_colours[shade], tables.leaf_colours[brightest_leaf], green));
        if (leaves) {  // written always, kept when new: no branch to guess
            leaves->pixels[listed] = {cx + dx, y};
            listed += canvas.dc.surface_under(cx + dx, y) < crown;
        }
        canvas.dc.plot(cx + dx, y, tables.leaf_colours[shade]);
    }
    if (leaves) leaves->count = listed;
}

// At least 10 clusters, more on a tall tree: cluster c is drawn while c is at
// most 10 plus a fresh draw below the height.
int paint_crown(TreeCanvas& canvas, TreeBase base, int height, const BroadleafStyle& style) {
    RandomSource& random = canvas.random;
    const int pixels = height * 5 * style.leaf_percent / 100;
    int count = 0;
    std::vector<ClusterDome> domes;
    LeafList leaves;
    const bool mapping = canvas.dc.mapping_surfaces();
    if (mapping) leaves.pixels.reserve(static_cast<std::size_t>(pixels) * 2 * least_clusters);
    for (int c = 1;; ++c) {
        if (c > random_below(random, height) + least_clusters) break;
        const int cx = base.x + random_below(random, height) - height / 2;
        const int cy = base.y - height - random_below(random, height);
        const int radius = random_below(random, height / 3) + height / 3;
        // Leaves scatter over an oval radius * factor / 2 across and radius high.
        const float rx = std::max(radius * style.width_factor / 2.0f, 1.0f), ry = std::max(radius, 1) * 1.0f;
        canvas.dc.set_surface(dome(cx + 0.5f, cy + 0.5f, rx, ry, static_cast<float>(base.y)));
        if (mapping)
            domes.emplace_back(canvas.dc.current_surface(), cx + 0.5f, cy + 0.5f, rx + 0.5f, ry + 0.5f, leaves.count);
        paint_leaf_cluster(canvas, cx, cy, radius, pixels, style.width_factor, mapping ? &leaves : nullptr,
                           mapping ? domes.front().id : 0);
        ++count;
    }
    leaves.pixels.resize(leaves.count);
    smooth_crown(canvas.dc, domes, leaves.pixels);
    return count;
}
}  // namespace

PlantedTree draw_broadleaf_tree(TreeCanvas& canvas, bool single_tree, const BroadleafStyle& style) {
    RandomSource& random = canvas.random;
    const int half_width = canvas.half_width;
    const int jitter = random_below(random, 2);
    const int height = nearest_to_int((half_width / 2) * 1.5 + random_below(random, half_width / 4));
    const TreeBase base = draw_tree_base(random, half_width, single_tree);
    const int thickness = broadleaf_trunk_thickness(half_width);

    PlantedTree tree;
    tree.base = base;
    tree.size = height;
    tree.trunk_width = thickness;
    paint_trunk(canvas, base, height, thickness, jitter);
    tree.branch_count = paint_branches(canvas, base, height, thickness);
    tree.cluster_count = paint_crown(canvas, base, height, style);
    return tree;
}
