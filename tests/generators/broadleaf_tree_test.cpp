#include "generators/tree/crown_domes.hpp"
#include "tree_test_support.hpp"

using namespace tree_test;

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

TEST(CrownDomes, ALeafTakesTheLastDomeDrawnOverItAndNeverAnEarlierOne) {
    auto state = std::make_unique<AppState>();
    state->canvas = RasterImage(TileGeometry::canvas_width, TileGeometry::canvas_height);
    TileCanvas& target = state->canvas;
    SurfaceIds map(target.width(), target.height(), target.origin_x(), target.origin_y());
    DrawingContext dc(target, &map);
    std::vector<ClusterDome> domes;
    std::vector<std::pair<int, int>> leaves;
    // Three clusters, each plotting its leaves under its own dome's id.
    const auto cluster = [&](float cx, float r, std::vector<std::pair<int, int>> plotted) {
        dc.set_surface(dome(cx, 50.5f, r, r, 100.0f));
        domes.emplace_back(dc.current_surface(), cx, 50.5f, r, r, leaves.size());
        for (const auto& [x, y] : plotted) dc.plot(x, y, rgb(0, 200, 0)), leaves.emplace_back(x, y);
    };
    cluster(50.5f, 10.0f, {{50, 50}, {42, 50}});  // first: both under it only so far
    cluster(52.5f, 4.0f, {{53, 50}});             // inside the first as well
    cluster(49.5f, 3.0f, {{70, 70}});             // over (50, 50), not over (53, 50)
    const SurfaceId first = domes[0].id, second = domes[1].id, third = domes[2].id;
    smooth_crown(dc, domes, leaves);
    EXPECT_EQ(dc.surface_under(50, 50), third);   // two domes drawn over it: the last
    EXPECT_EQ(dc.surface_under(42, 50), first);   // none
    EXPECT_EQ(dc.surface_under(53, 50), second);  // the first holds it but lies behind
    EXPECT_EQ(dc.surface_under(70, 70), third);   // its own dome does not hold it: kept
}
