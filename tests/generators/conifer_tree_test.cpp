#include "tree_test_support.hpp"
#include "generators/tree/conifer_tree.hpp"

using namespace tree_test;

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
