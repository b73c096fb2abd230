#include "canvas/numbers.hpp"
#include "house_test_support.hpp"

#include <set>

using namespace house_test;

namespace {
constexpr Colour door_colour = rgb(200, 10, 10);
constexpr Colour window_colour = rgb(10, 10, 200);

// Doors and windows in their own colours; the wall image starts black.
void colour_openings(HouseRig& rig) {
    RasterImage& ground = rig.state().ground_sheet.image;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 640; ++x) ground.set_pixel(x, y, y < 64 ? door_colour : window_colour);
}

// The first rows of the runs of `colour` in one column.
std::set<int> run_starts(const RasterImage& image, int x, Colour colour) {
    std::set<int> starts;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) == colour && (y == 0 || image.pixel(x, y - 1) != colour)) starts.insert(y);
    return starts;
}
}  // namespace

TEST(Openings, StoreyRowsDoorsAndPlacesOfTheWorkedExample) {
    // Width 100: L = 50, house_unit 11, storey 28 (27.5 to even); places at x 7 and 32.
    for (const auto& [height, rows] : {std::pair{85, std::set<int>{6, 34, 62}}, {60, std::set<int>{9, 37}}}) {
        std::set<int> window_rows, door_rows;
        for (std::uint64_t seed = 1; seed <= 60; ++seed) {
            HouseRig rig(seed);
            colour_openings(rig);
            RasterImage wall(50, height);
            TileContext ctx = rig.context();
            place_openings(ctx, wall, 50, height);
            for (int x : {7, 32}) {
                for (int y : run_starts(wall, x, window_colour)) window_rows.insert(y);
                for (int y : run_starts(wall, x, door_colour)) door_rows.insert(y);
                // Nothing outside the two places' columns.
                ASSERT_EQ(wall.pixel(x - 1, height / 2), 0);
            }
            for (int y = 0; y < height; ++y) {
                ASSERT_EQ(wall.pixel(6, y), 0);
                ASSERT_EQ(wall.pixel(18, y), 0);
            }
            // A door reaches 2 x 11 rows down from its top, on the ground row only.
            for (int x : {7, 32})
                if (wall.pixel(x, height - 1 - 2) == door_colour) {
                    EXPECT_EQ(wall.pixel(x, height - 28 + 5 - 1), 0) << "door top at " << height - 28 + 5;
                }
        }
        EXPECT_EQ(window_rows, rows);
        EXPECT_EQ(door_rows, std::set<int>{*rows.rbegin()});
    }
}

TEST(Openings, AWindowIsTheCellScaledAndCopiedUnshaded) {
    HouseRig rig(2);
    RasterImage& ground = rig.state().ground_sheet.image;
    for (int y = 64; y < 128; ++y)
        for (int x = 0; x < 640; ++x) ground.set_pixel(x, y, rgb(x % 64 * 4, y % 64 * 4, 7));
    bool seen = false;
    for (std::uint64_t seed = 1; seed <= 20 && !seen; ++seed) {
        HouseRig r(seed);
        r.state().ground_sheet.image = ground;
        RasterImage wall(50, 60);
        TileContext ctx = r.context();
        place_openings(ctx, wall, 50, 60);
        if (blue(wall.pixel(7, 37)) != 7) continue;  // no window there (or a door)
        seen = true;
        // 11 x 11 samples every 64 / 11 texels from the cell's corner.
        const float s = 64.0f / 11;
        for (int i = 0; i < 11; ++i)
            for (int j = 0; j < 11; ++j)
                ASSERT_EQ(wall.pixel(7 + i, 37 + j), rgb(nearest_to_int(i * static_cast<double>(s)) * 4,
                                                         nearest_to_int(j * static_cast<double>(s)) * 4, 7));
    }
    EXPECT_TRUE(seen);
}

TEST(Roof, WorkedExampleRidgeEaveAndShadeOfBothSides) {
    // Width 100, "4 x 4", height 60: a = b = 40, e = 4.
    struct Side {
        int side, px, py, n, eave_x, eave_y;
        Colour painted;
    };
    for (const Side& roof :
         {Side{0, 106, 80, 44, 86, 120, rgb(170, 170, 170)}, Side{1, 110, 102, 42, 130, 142, rgb(255, 255, 255)}}) {
        SCOPED_TRACE(testing::Message() << "side " << roof.side);
        HouseRig rig;
        rig.fill_sheets(rgb(1, 1, 1), rgb(255, 255, 255));
        TileContext ctx = rig.context();
        const TileGeometry& g = rig.state().geometry;
        draw_roof(ctx, g.house_left_x, g.house_left_y, g.house_front_x, g.house_front_y, g.house_right_x, 60, roof.side,
                  24);
        const RasterImage& c = rig.canvas();
        EXPECT_EQ(c.pixel(roof.px, roof.py), roof.painted);
        EXPECT_EQ(c.pixel(roof.px - 1, roof.py), 0);
        EXPECT_EQ(c.pixel(roof.eave_x, roof.eave_y), roof.painted);
        EXPECT_EQ(c.pixel(roof.eave_x - 1, roof.eave_y), 0);
        // The ridge ends n texels on, with the pixel pair's second pixel.
        const int end_x = roof.px + roof.n + 1;
        const int end_y = roof.side == 0 ? roof.py + roof.n / 2 : roof.py - roof.n / 2;
        EXPECT_EQ(c.pixel(end_x, end_y), roof.painted);
        EXPECT_EQ(c.pixel(end_x + 1, end_y), 0);
        for (const auto& [x, y] : painted_pixels(c)) ASSERT_EQ(c.pixel(x, y), roof.painted);
    }
}

TEST(Roof, LeftSlopeDividesByOneAndAHalfAndKeyTexelsAreHoles) {
    HouseRig rig;
    rig.fill_sheets(rgb(1, 1, 1), rgb(4, 1, 100));
    RasterImage& sheet = rig.state().building_sheet.image;
    sheet.set_pixel(0, 512, transparent_key);  // texel (0, 0) of roof cell 24
    TileContext ctx = rig.context();
    const TileGeometry& g = rig.state().geometry;
    draw_roof(ctx, g.house_left_x, g.house_left_y, g.house_front_x, g.house_front_y, g.house_right_x, 60, 0, 24);
    EXPECT_EQ(rig.canvas().pixel(106, 80), 0);  // the hole; (107, 80) is texel 1's first pixel
    EXPECT_EQ(rig.canvas().pixel(107, 80), rgb(3, 1, 67));
}

TEST(Fence, PostsAndRailsOfTheWorkedValues) {
    // Width 100: posts 13 high; density 4 gives a gap of 12, so posts stand
    // at tile_left_x + 0, 13, 26, 39 and at the centre.
    for (std::uint64_t seed = 1; seed < 400; ++seed) {
        RandomSource probe(seed);
        const int rails = random_below(probe, 3) + 1;
        random_below(probe, 5);
        if (random_below(probe, 8) + 4 != 4 || rails != 1) continue;
        HouseRig rig(seed);
        rig.controls().write(ctl::add_left_fence, 1);
        TileContext ctx = rig.context();
        draw_house_extras(ctx);
        const auto spans = column_spans(rig.canvas());
        const int left = 80;
        std::set<int> posts;
        for (const auto& [x, span] : spans)
            if (span.bottom - span.top + 1 >= 13) posts.insert(x);
        EXPECT_EQ(posts, (std::set<int>{left, left + 13, left + 26, left + 39, 130}));
        // Post foot on the lower-left edge, 13 pixels up (its end left out),
        // and the rail one pixel above the post's top.
        EXPECT_EQ(spans.at(left + 26).bottom, 180 + 13);
        EXPECT_EQ(spans.at(left + 26).top, 180 + 13 - 13);
        // One rail, the edge raised by 13: one pixel in a column between posts.
        EXPECT_EQ(spans.at(left + 5).top, spans.at(left + 5).bottom);
        return;
    }
    FAIL() << "no seed with one rail and density 4";
}

TEST(Fence, StyleIsDrawnForEveryHouseFenceOrNot) {
    HouseRig rig(3);
    TileContext ctx = rig.context();
    const std::uint64_t before = rig.app->random().draw_count();
    draw_house_extras(ctx);
    EXPECT_EQ(rig.app->random().draw_count() - before, 3u);
    EXPECT_TRUE(painted_pixels(rig.canvas()).empty());
}

TEST(Flowers, StandOnTheTwoFrontEdgesWithBloomsOfTheTable) {
    for (const int item : {0, 6, 16}) {
        HouseRig rig(5, item);
        rig.controls().write(ctl::add_flowers, 1);
        TileContext ctx = rig.context();
        draw_house_extras(ctx);
        const TileGeometry& g = rig.state().geometry;
        const std::set<Colour> allowed{rgb(0, 200, 0),   rgb(255, 0, 0),   rgb(255, 255, 0),
                                       rgb(255, 180, 0), rgb(255, 0, 255), rgb(0, 0, 250)};
        const PixelSet pixels = painted_pixels(rig.canvas());
        EXPECT_GT(pixels.size(), 10u);
        for (const auto& [x, y] : pixels) {
            ASSERT_TRUE(allowed.count(rig.canvas().pixel(x, y))) << x << "," << y;
            ASSERT_GE(y, g.ground_y - g.half_width / 6 - 3);  // no higher than a stem above the edge's top
            ASSERT_LE(y, g.tile_bottom_y + 1);
        }
    }
}
