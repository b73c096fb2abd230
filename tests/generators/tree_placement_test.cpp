#include "tree_test_support.hpp"
#include "state/tile_setup.hpp"

using namespace tree_test;

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

TEST(TreeTile, DrawTreesPaintsOverTheCanvasAndTheTileClearsIt) {
    TileRig rig(3);
    rig.controls().write(ctl::panel, tab_tree);
    TileContext context = rig.app->context();
    set_tile_geometry(context);
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
