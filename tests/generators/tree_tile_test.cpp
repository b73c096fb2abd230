#include "canvas/tile_frame.hpp"
#include "generator_test_support.hpp"
#include "generators/tree/conifer_tree.hpp"
#include "generators/tree/trees.hpp"

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace {
constexpr int cx = 130;
constexpr int cy = 180;

// Trees planted straight on a cleared canvas, with the tables filled but no
// sheets decoded (trees use none).
struct Forest {
    explicit Forest(std::uint64_t seed = 1) : state(std::make_unique<AppState>()), random(seed) {
        fill_fixed_tables(*state);
    }
    TreePlanting plant(const TreeSettings& settings, int half_width) {
        state->canvas = RasterImage(TileGeometry::canvas_width, TileGeometry::canvas_height);
        DrawingContext dc(state->canvas);
        TreeCanvas canvas{dc, *state, random, half_width};
        return plant_trees(canvas, settings);
    }
    const RasterImage& canvas() const { return state->canvas; }

    std::unique_ptr<AppState> state;
    RandomSource random;
};

TreeSettings broadleaf(int leaf_percent = 40, bool multi = false) {
    TreeSettings s;
    s.multi_tree = multi;
    s.broadleaf.leaf_percent = leaf_percent;
    return s;
}

TreeSettings conifer(bool multi = false) {
    TreeSettings s;
    s.conifer = true;
    s.multi_tree = multi;
    return s;
}

int leaf_index(const AppState& state, Colour c) {
    const auto& leaves = state.leaf_colours;
    const auto it = std::find(leaves.begin(), leaves.end(), c);
    return it == leaves.end() ? -1 : static_cast<int>(it - leaves.begin());
}

// A broadleaf's wood takes the first five trunk colours; the sixth is never
// painted, so seeing it means a shade index ran off the leaf table.
bool is_trunk_colour(const AppState& state, Colour c) {
    return std::find(state.trunk_colours.begin(), state.trunk_colours.begin() + 5, c) != state.trunk_colours.begin() + 5;
}

// Needles are green over red; the conifer trunk is red over green (or black).
PixelSet needle_pixels(const RasterImage& image, int shift_x) {
    PixelSet needles;
    for (const auto& [x, y] : painted_pixels(image)) {
        const Colour c = image.pixel(x, y);
        if (green(c) > red(c)) needles.insert({x + shift_x, y});
    }
    return needles;
}

constexpr std::array<int, 5> some_half_widths{20, 25, 35, 50, 100};
}  // namespace

TEST(TreePlacement, ALoneTreeStandsOnTheTileCentre) {
    Forest forest(11);
    for (int h = 20; h <= 100; h += 5) {
        SCOPED_TRACE(testing::Message() << "H " << h);
        for (const TreeSettings& settings : {broadleaf(), conifer()}) {
            const TreePlanting planting = forest.plant(settings, h);
            ASSERT_EQ(planting.count, 1);
            EXPECT_EQ(planting.trees[0].base.x, cx);
            EXPECT_EQ(planting.trees[0].base.y, cy);
        }
        // A broadleaf paints nothing below its foot: the lowest painted row is
        // the trunk's bottom row, jittered by at most a pixel either way.
        forest.plant(broadleaf(), h);
        const PixelSet lit = painted_pixels(forest.canvas());
        int bottom = 0;
        for (const auto& p : lit) bottom = std::max(bottom, p.second);
        EXPECT_EQ(bottom, cy);
        for (const auto& [x, y] : lit) {
            if (y != cy) continue;
            EXPECT_TRUE(is_trunk_colour(*forest.state, forest.canvas().pixel(x, y)));
            EXPECT_GE(x, cx - 2);
            EXPECT_LE(x, cx + 3);
        }
    }
}

TEST(TreePlacement, MultiTreeBasesStayWithinTheirRanges) {
    Forest forest(21);
    std::array<int, 5> seen_counts{};
    for (int n = 0; n < 200; ++n) {
        const int h = some_half_widths[n % some_half_widths.size()];
        const TreePlanting planting = forest.plant(n % 2 ? conifer(true) : broadleaf(40, true), h);
        ASSERT_GE(planting.count, 1);
        ASSERT_LE(planting.count, 4);
        ++seen_counts[planting.count];
        for (int t = 0; t < planting.count; ++t) {
            const TreeBase base = planting.trees[t].base;
            if (planting.count == 1) {
                EXPECT_EQ(base.x, cx);
                EXPECT_EQ(base.y, cy);
                continue;
            }
            EXPECT_GE(base.x, cx - h / 2);
            EXPECT_LE(base.x, cx + h - 1 - h / 2);
            EXPECT_GE(base.y, cy - h / 4);
            EXPECT_LE(base.y, cy + h / 2 - 1 - h / 4);
        }
    }
    for (int count = 1; count <= 4; ++count) EXPECT_GT(seen_counts[count], 20) << count << " trees";
}

TEST(TreePlacement, TheTreeCountIsDrawnEvenWithoutMultiTree) {
    // When "Multi tree" happens to draw one tree, the tile must be the one the
    // box left off gives: both make the same draws in the same order.
    int lone = 0;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        for (const bool cone : {false, true}) {
            Forest off(seed), on(seed);
            TreeSettings single = cone ? conifer(false) : broadleaf(40, false);
            TreeSettings multi = cone ? conifer(true) : broadleaf(40, true);
            off.plant(single, 50);
            if (on.plant(multi, 50).count != 1) continue;
            ++lone;
            EXPECT_EQ(off.canvas(), on.canvas()) << "seed " << seed;
        }
    }
    EXPECT_GT(lone, 5);
}

TEST(BroadleafTree, ALoneTreeIsAPlacedTreeMovedToTheCentre) {
    // The base draws are made for a lone tree too, so with the same seed it is
    // the same tree, only standing on the centre. Halves round to even, so
    // the trunk's pixels match only after a move by an even number of columns.
    for (const int h : {20, 35, 50}) {
        SCOPED_TRACE(testing::Message() << "H " << h);
        int compared = 0;
        for (std::uint64_t seed = 1; compared < 4 && seed < 100; ++seed) {
            Forest lone(seed), placed(seed);
            DrawingContext lone_dc(lone.state->canvas), placed_dc(placed.state->canvas);
            TreeCanvas lone_canvas{lone_dc, *lone.state, lone.random, h};
            TreeCanvas placed_canvas{placed_dc, *placed.state, placed.random, h};
            const BroadleafStyle style{100, 1};
            const PlantedTree a = draw_broadleaf_tree(lone_canvas, true, style);
            const PlantedTree b = draw_broadleaf_tree(placed_canvas, false, style);
            EXPECT_EQ(a.size, b.size);
            EXPECT_EQ(a.branch_count, b.branch_count);
            EXPECT_EQ(a.cluster_count, b.cluster_count);
            const int dx = cx - b.base.x, dy = cy - b.base.y;
            if (dx % 2 != 0) continue;
            ++compared;
            const PixelSet at_centre = painted_pixels(lone.canvas());
            const PixelSet elsewhere = painted_pixels(placed.canvas());
            ASSERT_EQ(at_centre.size(), elsewhere.size()) << "seed " << seed;
            for (const auto& [x, y] : elsewhere)
                ASSERT_EQ(lone.canvas().colour_at(x + dx, y + dy), placed.canvas().pixel(x, y)) << "seed " << seed;
        }
        EXPECT_EQ(compared, 4);
    }
}

TEST(BroadleafTree, BranchAndClusterCountsStayInTheirRanges) {
    Forest forest(31);
    std::array<int, 8> branches{};
    for (int n = 0; n < 600; ++n) {
        const int h = some_half_widths[n % some_half_widths.size()];
        const TreePlanting planting = forest.plant(broadleaf(0, true), h);
        for (int t = 0; t < planting.count; ++t) {
            const PlantedTree& tree = planting.trees[t];
            ASSERT_GE(tree.branch_count, 2);
            ASSERT_LE(tree.branch_count, 6);
            ++branches[tree.branch_count];
            ASSERT_GE(tree.cluster_count, 10);
            ASSERT_LE(tree.cluster_count, tree.size + 9);
            // Trunk height: 1.5 trunc(H/2) plus under a quarter of H.
            ASSERT_GE(tree.size, h / 2 * 3 / 2 - 1);
            ASSERT_LE(tree.size, h / 2 * 3 / 2 + h / 4);
        }
    }
    // Chances: 2 branches 1/5, 6 branches 0.8 * 0.6 * 0.4 * 0.2.
    EXPECT_GT(branches[2], 0);
    EXPECT_GT(branches[6], 0);
    EXPECT_GT(branches[2], branches[6]);
}

TEST(BroadleafTree, LeafPercentageDecidesTheLeaves) {
    for (const int h : some_half_widths) {
        SCOPED_TRACE(testing::Message() << "H " << h);
        Forest forest(h);
        // 0 %: trunk and branches only.
        forest.plant(broadleaf(0, true), h);
        for (const auto& [x, y] : painted_pixels(forest.canvas())) {
            const Colour c = forest.canvas().pixel(x, y);
            ASSERT_EQ(leaf_index(*forest.state, c), -1) << "leaf at " << x << "," << y;
            ASSERT_TRUE(is_trunk_colour(*forest.state, c));
        }
        // 100 %: a crown lit from the right, whose shade at width factor 1
        // never passes the fourth leaf colour.
        forest.plant(broadleaf(100), h);
        std::array<int, 6> shades{};
        for (const auto& [x, y] : painted_pixels(forest.canvas())) {
            const int s = leaf_index(*forest.state, forest.canvas().pixel(x, y));
            if (s >= 0) ++shades[s];
        }
        EXPECT_GT(shades[0], 0);
        EXPECT_GT(shades[3], 0);
        EXPECT_EQ(shades[4] + shades[5], 0);
    }
}

TEST(BroadleafTree, AWideTreeStaysWithinTheLeafColours) {
    // Width items 6 and 7 give factor 4: the shade index would run below 0 on
    // the left of a cluster and past 5 on the right without the clamp.
    TileRig rig(9);
    rig.controls().write(ctl::tree_width, 7);
    rig.controls().write(ctl::leaves_percent, 10);
    EXPECT_EQ(read_tree_settings(rig.controls()).broadleaf.width_factor, 4);
    std::array<int, 6> shades{};
    for (int n = 0; n < 5; ++n) {
        rig.draw(tab_tree, 6);
        for (const auto& [x, y] : painted_pixels(rig.canvas())) {
            const Colour c = rig.canvas().pixel(x, y);
            const int s = leaf_index(rig.state(), c);
            ASSERT_TRUE(s >= 0 || is_trunk_colour(rig.state(), c)) << "stray colour at " << x << "," << y;
            if (s >= 0) ++shades[s];
        }
    }
    EXPECT_GT(shades[0], 0);
    EXPECT_GT(shades[5], 0);
    EXPECT_EQ(width_factor_for_item(1), 1) << "the default item";
    EXPECT_EQ(width_factor_for_item(0), 1);
    EXPECT_EQ(width_factor_for_item(2), 2);
}

TEST(BroadleafTree, TrunkThicknessFollowsTheIsoWidth) {
    // The five columns sit at k * tw / 4 - tw / 2 from the jittered foot and
    // round half to even, so a row is narrower or wider by the parity of its
    // column: 1 or 3 pixels for thickness 1, 3 for 2, 3 or 5 for 3, 5 for 4.
    struct Widths {
        int narrow, wide;
    };
    constexpr std::array<Widths, 5> row_widths{{{0, 0}, {1, 3}, {3, 3}, {3, 5}, {5, 5}}};
    for (int iso = 40; iso <= 200; iso += 10) {
        SCOPED_TRACE(testing::Message() << "iso width " << iso);
        const int h = iso / 2;
        const int thickness = iso <= 60 ? 1 : iso <= 90 ? 2 : iso <= 120 ? 3 : 4;
        EXPECT_EQ(broadleaf_trunk_thickness(h), thickness);
        const Widths expected = row_widths[thickness];
        std::set<int> seen;
        Forest forest(iso);
        for (int n = 0; n < 6; ++n) {
            const PlantedTree tree = forest.plant(broadleaf(0), h).trees[0];
            EXPECT_EQ(tree.trunk_width, thickness);
            // Below the trunk top (where the branches start) only the trunk paints.
            std::map<int, int> row_pixels;
            for (const auto& [x, y] : painted_pixels(forest.canvas()))
                if (y > cy - tree.size) ++row_pixels[y];
            for (const auto& [y, count] : row_pixels) {
                ASSERT_TRUE(count == expected.narrow || count == expected.wide) << "row " << y << ": " << count;
                seen.insert(count);
            }
        }
        EXPECT_EQ(seen, (std::set<int>{expected.narrow, expected.wide}));
    }
}

TEST(ConiferTree, TiersAndTrunkFollowTheTreeSize) {
    EXPECT_EQ(conifer_tier_count(20), 3);
    EXPECT_EQ(conifer_tier_count(124), 16);
    EXPECT_EQ(conifer_tier_count(30), 4);
    EXPECT_EQ(conifer_tier_count(75), 10);
    for (const auto& [size, half] : {std::pair{20, 1}, {29, 1}, {30, 2}, {49, 2}, {50, 3}, {69, 3}, {110, 6}, {124, 6}})
        EXPECT_EQ(conifer_trunk_half_width(size), half) << "size " << size;

    Forest forest(41);
    for (int n = 0; n < 100; ++n) {
        const int h = some_half_widths[n % some_half_widths.size()];
        const TreePlanting planting = forest.plant(conifer(true), h);
        for (int t = 0; t < planting.count; ++t) {
            const PlantedTree& tree = planting.trees[t];
            ASSERT_GE(tree.size, h);
            ASSERT_LT(tree.size, h + h / 4);
            ASSERT_EQ(tree.tier_count, conifer_tier_count(tree.size));
            ASSERT_GE(tree.tier_count, 3);
            ASSERT_EQ(tree.trunk_width, conifer_trunk_half_width(tree.size));
            // One angle in 10..14 of 181 gets a stroke, per tier.
            ASSERT_GT(tree.stroke_count, tree.tier_count * 4);
            ASSERT_LT(tree.stroke_count, tree.tier_count * 36);
        }
    }
}

TEST(ConiferTree, TiersHangFromTheCentreRowWhereverTheFootIs) {
    // Same seed, same draws: the placed tree's needles are the lone tree's,
    // moved sideways only, although its trunk starts on another row.
    for (const int h : {20, 30, 50}) {
        int off_centre_rows = 0;
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            Forest lone(seed), placed(seed);
            DrawingContext lone_dc(lone.state->canvas), placed_dc(placed.state->canvas);
            TreeCanvas lone_canvas{lone_dc, *lone.state, lone.random, h};
            TreeCanvas placed_canvas{placed_dc, *placed.state, placed.random, h};
            draw_conifer_tree(lone_canvas, true);
            const PlantedTree tree = draw_conifer_tree(placed_canvas, false);
            off_centre_rows += tree.base.y != cy;
            EXPECT_EQ(needle_pixels(placed.canvas(), cx - tree.base.x), needle_pixels(lone.canvas(), 0))
                << "H " << h << " seed " << seed << " foot " << tree.base.x << "," << tree.base.y;
        }
        EXPECT_GT(off_centre_rows, 0);
    }
}

TEST(TreeTile, DrawTreesPaintsOverTheCanvasAndTheTileClearsIt) {
    TileRig rig(3);
    rig.controls().write(ctl::panel, tab_tree);
    TileContext context = rig.app->context();
    compute_house_footprint(context);
    const Colour ground = rgb(1, 2, 3);
    {
        DrawingContext dc(rig.state().canvas);
        dc.box(0, 0, 260, 260, ground);
    }
    draw_trees(context);
    EXPECT_EQ(rig.canvas().pixel(0, 0), ground);
    EXPECT_EQ(rig.canvas().pixel(259, 259), ground);
    EXPECT_NE(rig.canvas().pixel(cx, cy), ground) << "the trunk stands on the ground";

    rig.draw(tab_tree, 6);
    EXPECT_EQ(rig.canvas().pixel(0, 0), 0);
    EXPECT_EQ(rig.canvas().pixel(259, 259), 0);
    EXPECT_NE(rig.state().display_image.pixel(cx, cy), 0) << "the tile is shown";
}

TEST(TreeTile, SameSeedSameTileAndGoldenOnes) {
    struct Case {
        const char* name;
        bool conifer, multi;
        int leaves_item;
        std::uint64_t seed;
        TileSummary golden;
    };
    const Case cases[] = {
        {"broadleaf 100 %", false, false, 10, 77, {0x14c8d2520640547e, 1720, 100, 74, 151, 180}},
        {"conifer", true, false, 4, 77, {0x8f12639747820d9b, 1271, 108, 92, 152, 194}},
        {"multi broadleaf", false, true, 4, 78, {0xad440f89354ae25d, 2044, 95, 69, 161, 182}},
        {"multi conifer", true, true, 4, 78, {0xe2917f5e0a514525, 1946, 120, 92, 166, 201}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TileRig a(c.seed), b(c.seed);
        if (c.multi) {
            // The tile's first draw is the tree count: make it more than one.
            RandomSource peek = a.app->random();
            ASSERT_GT(random_below(peek, 4), 0);
        }
        for (TileRig* rig : {&a, &b}) {
            rig->controls().write(ctl::conifer, c.conifer);
            rig->controls().write(ctl::multi_tree, c.multi);
            rig->controls().write(ctl::leaves_percent, c.leaves_item);
            rig->draw(tab_tree, 6);
        }
        EXPECT_EQ(a.canvas(), b.canvas());
        EXPECT_EQ(summarise(a.canvas()), c.golden);
    }
}
