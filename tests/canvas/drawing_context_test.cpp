#include "canvas/drawing_context.hpp"

#include <gtest/gtest.h>

#include "../support/pixels.hpp"

namespace {
constexpr Colour ink = rgb(200, 100, 50);
using Points = std::set<std::pair<int, int>>;
}  // namespace

TEST(DrawingContext, PointAndPlotOutsideOrWithoutContext) {
    RasterImage image(10, 8);
    DrawingContext dc;
    EXPECT_EQ(dc.point(0, 0), no_colour);
    dc.plot(1, 1, ink);
    EXPECT_EQ(image.pixel(1, 1), 0);

    dc.start_drawing(image);
    for (auto [x, y] : {std::pair{-1, 0}, {10, 0}, {0, -1}, {0, 8}, {-100000, 5}, {5, 1 << 30}}) {
        dc.plot(x, y, ink);
        EXPECT_EQ(dc.point(x, y), no_colour);
    }
    EXPECT_TRUE(painted(image).empty());
    dc.plot(9, 7, ink);
    EXPECT_EQ(dc.point(9, 7), ink);
    dc.stop_drawing();
    EXPECT_EQ(dc.point(9, 7), no_colour);
}

TEST(DrawingContext, ColourOutsideTwentyFourBitsPaintsItsLowBits) {
    RasterImage image(2, 2);
    DrawingContext dc(image);
    dc.plot(0, 0, rgb(300, 0, 0));
    EXPECT_EQ(dc.point(0, 0), rgb(44, 1, 0));
    dc.plot(1, 0, no_colour);
    EXPECT_EQ(dc.point(1, 0), rgb(255, 255, 255));
}

TEST(DrawingContext, FilledBoxClipsToTheImage) {
    RasterImage image(500, 500);
    DrawingContext dc(image);
    dc.box(0, 0, 1000, 1000, ink);
    EXPECT_EQ(painted(image).size(), 500u * 500u);

    RasterImage small(20, 20);
    dc.start_drawing(small);
    dc.box(-5, 15, 10, 10, ink);
    EXPECT_EQ(painted(small).size(), 5u * 5u);
    EXPECT_EQ(dc.point(4, 15), ink);
    EXPECT_EQ(dc.point(5, 15), 0);
}

TEST(DrawingContext, OutlinedBoxes) {
    RasterImage image(20, 20);
    DrawingContext dc(image);
    dc.set_drawing_mode(DrawingMode::Outlined);
    dc.box(5, 5, 1, 1, ink);
    EXPECT_EQ(painted(image), (Points{{5, 5}}));

    RasterImage three(20, 20);
    dc.start_drawing(three);
    EXPECT_EQ(dc.drawing_mode(), DrawingMode::Filled);  // every start resets the mode
    dc.set_drawing_mode(DrawingMode::Outlined);
    dc.box(2, 2, 3, 3, ink);
    EXPECT_EQ(painted(three).size(), 8u);
    EXPECT_EQ(dc.point(3, 3), 0);

    // An outline reaching past the edges keeps only its visible sides.
    RasterImage clipped(10, 10);
    dc.start_drawing(clipped);
    dc.set_drawing_mode(DrawingMode::Outlined);
    dc.box(-3, 4, 20, 3, ink);
    EXPECT_EQ(painted(clipped),
              (Points{{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}, {8, 4}, {9, 4},
                      {0, 6}, {1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}, {6, 6}, {7, 6}, {8, 6}, {9, 6}}));
}

TEST(DrawingContext, LineEndPointRules) {
    RasterImage image(10, 10);
    DrawingContext dc(image);
    dc.line(3, 3, 0, 0, ink);
    EXPECT_TRUE(painted(image).empty());
    dc.line_xy(3, 3, 3, 3, ink);
    EXPECT_EQ(painted(image), (Points{{3, 3}}));

    RasterImage a(10, 10), b(10, 10);
    dc.start_drawing(a);
    dc.line(0, 0, 4, 0, ink);
    EXPECT_EQ(painted(a), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    dc.start_drawing(b);
    dc.line_xy(0, 0, 4, 0, ink);
    EXPECT_EQ(painted(b), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
}

TEST(DrawingContext, LinesCoverOnePixelPerMajorStep) {
    struct Case {
        int x1, y1, x2, y2;
    };
    for (const Case c : {Case{0, 0, 9, 9}, {9, 0, 0, 9}, {2, 8, 8, 1}, {0, 5, 9, 3}, {5, 0, 4, 9}, {9, 9, 0, 0}}) {
        RasterImage image(10, 10);
        DrawingContext dc(image);
        dc.line_xy(c.x1, c.y1, c.x2, c.y2, ink);
        const Points points = painted(image);
        const int steps = std::max(std::abs(c.x2 - c.x1), std::abs(c.y2 - c.y1));
        EXPECT_EQ(points.size(), static_cast<std::size_t>(steps + 1));
        EXPECT_TRUE(points.count({c.x1, c.y1}));
        EXPECT_TRUE(points.count({c.x2, c.y2}));
        // Every pixel lies within half a pixel of the ideal line (minor axis).
        for (auto [x, y] : points) {
            const double dx = c.x2 - c.x1, dy = c.y2 - c.y1;
            const double off = std::abs((x - c.x1) * dy - (y - c.y1) * dx) / std::max(std::abs(dx), std::abs(dy));
            EXPECT_LE(off, 0.5 + 1e-9) << x << "," << y;
        }
    }
    // Diagonals are exact.
    RasterImage image(10, 10);
    DrawingContext dc(image);
    dc.line(0, 9, 5, -5, ink);
    EXPECT_EQ(painted(image), (Points{{0, 9}, {1, 8}, {2, 7}, {3, 6}, {4, 5}}));
}

TEST(DrawingContext, LinesClipAtEveryEdge) {
    RasterImage image(10, 10);
    DrawingContext dc(image);
    dc.line_xy(-20, 5, 30, 5, ink);
    dc.line_xy(5, -20, 5, 30, ink);
    EXPECT_EQ(painted(image).size(), 19u);
}

TEST(DrawingContext, SmallCircles) {
    RasterImage image(30, 30);
    DrawingContext dc(image);
    dc.circle(10, 10, 1, ink);
    EXPECT_EQ(painted(image), (Points{{10, 10}, {11, 10}, {10, 11}, {11, 11}}));

    // r = 1 is a filled 2 x 2 square in either mode.
    RasterImage outlined(30, 30);
    dc.start_drawing(outlined);
    dc.set_drawing_mode(DrawingMode::Outlined);
    dc.circle(10, 10, 1, ink);
    EXPECT_EQ(painted(outlined).size(), 4u);
    EXPECT_EQ(dc.drawing_mode(), DrawingMode::Outlined);
}

TEST(DrawingContext, CirclesStayInTheirSquareAndAreSymmetric) {
    for (int r = 2; r <= 12; ++r) {
        for (DrawingMode mode : {DrawingMode::Filled, DrawingMode::Outlined}) {
            RasterImage image(40, 40);
            DrawingContext dc(image);
            dc.set_drawing_mode(mode);
            dc.circle(20, 20, r, ink);
            const Points points = painted(image);
            int min_x = 99, max_x = -1, min_y = 99, max_y = -1;
            for (auto [x, y] : points) {
                min_x = std::min(min_x, x), max_x = std::max(max_x, x);
                min_y = std::min(min_y, y), max_y = std::max(max_y, y);
                // Mirror images across the square's centre lines are painted too.
                EXPECT_TRUE(points.count({2 * 20 - 1 - x, y}));
                EXPECT_TRUE(points.count({x, 2 * 20 - 1 - y}));
            }
            EXPECT_EQ(min_x, 20 - r);
            EXPECT_EQ(max_x, 20 + r - 1);
            EXPECT_EQ(min_y, 20 - r);
            EXPECT_EQ(max_y, 20 + r - 1);
            const bool centre = points.count({20, 20}) != 0;
            EXPECT_EQ(centre, mode == DrawingMode::Filled) << "r=" << r;
            EXPECT_FALSE(points.count({20 - r, 20 - r})) << "corner painted, r=" << r;
        }
    }
}

TEST(DrawingContext, CircleClipsAtTheEdges) {
    RasterImage image(10, 10);
    DrawingContext dc(image);
    dc.circle(0, 0, 6, ink);
    const Points points = painted(image);
    EXPECT_FALSE(points.empty());
    for (auto [x, y] : points) EXPECT_LE(x * x + y * y, 36);
}

TEST(DrawingContext, ATileCanvasKeepsThePixelsInsideAndWhatCrossesItsEdges) {
    // Every call on a canvas reaching 7 and 5 pixels past a 30 x 20 image,
    // shapes crossing every edge: inside, the image's pixels; outside, more.
    RasterImage plain(30, 20);
    TileCanvas wide(30 + 7 + 9, 20 + 5 + 3, 7, 5);
    RasterImage sprite(6, 4);
    DrawingContext(sprite).box(0, 0, 6, 4, ink);
    auto draw = [&sprite](DrawingContext&& dc) {
        dc.plot(-2, 3, ink);
        dc.line_xy(-6, -4, 35, 22, ink);
        dc.box(25, -3, 10, 6, rgb(1, 2, 3));
        dc.set_drawing_mode(DrawingMode::Outlined);
        dc.box(-3, 15, 8, 8, rgb(4, 5, 6));
        dc.circle(29, 10, 4, rgb(7, 8, 9));
        dc.draw_image(sprite, -3, 18);
        return dc.point(-2, 3);
    };
    EXPECT_EQ(draw(DrawingContext(plain)), no_colour);
    EXPECT_EQ(draw(DrawingContext(wide)), ink);
    EXPECT_EQ(grab_image(wide, 7, 5, 30, 20), plain);
    EXPECT_GT(painted(wide).size(), painted(plain).size() + 20);
}

TEST(DrawingContext, ASurfaceMapRecordsTheLastSurfaceAndClearsBackToFlatGround) {
    TileCanvas canvas(12, 6, 2, 1);
    SurfaceIds map(12, 6, 2, 1);
    DrawingContext dc(canvas, &map);
    dc.set_surface(dome(3, 3, 2, 2, 4));
    dc.box(0, 0, 4, 2, ink);  // rows 1 and 2 of the map, columns 2..5
    dc.reuse_surface(0);
    dc.box(3, 1, 6, 1, ink);    // back to flat ground at columns 5..10 of row 2
    dc.box(-2, 3, 12, 1, ink);  // flat ground over a row nothing else marked
    EXPECT_EQ(map.at(2, 1), 1u);
    EXPECT_EQ(map.at(4, 2), 1u);
    EXPECT_EQ(map.at(5, 2), 0u);
    EXPECT_EQ(map.first_marked(2), 2);
    EXPECT_EQ(map.last_marked(2), 5);
    EXPECT_GT(map.first_marked(4), map.last_marked(4));
    map.clear();
    EXPECT_EQ(map.surface_count(), 1u);
    for (int y = 0; y < map.height(); ++y) {
        EXPECT_GT(map.first_marked(y), map.last_marked(y)) << y;
        for (int x = 0; x < map.width(); ++x) ASSERT_EQ(map.at(x, y), 0u) << x << "," << y;
    }
}

TEST(DrawingContext, APaintedMaskMarksWhatEveryShapePaintsAndEraseUnmarks) {
    // Over black, what a shape paints is what is not black: the mask must
    // say the same for every call, clipped where it crosses the edges.
    TileCanvas canvas(30, 20, 3, 2);
    PaintedMask mask(30, 20);
    RasterImage sprite(5, 4);
    DrawingContext(sprite).box(0, 0, 5, 4, ink);
    DrawingContext dc(canvas, nullptr, &mask);
    dc.erase_box(-3, -2, 30, 20, rgb(0, 0, 0));
    dc.plot(-3, 0, ink);
    dc.line_xy(-6, -4, 30, 19, ink);
    dc.box(20, -5, 10, 8, ink);
    dc.circle(10, 10, 3, ink);
    dc.draw_image(sprite, 24, 15);
    dc.set_drawing_mode(DrawingMode::Outlined);
    dc.box(-5, 8, 9, 6, ink);
    dc.circle(2, 14, 5, ink);
    auto mask_points = [&mask] {
        Points points;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x)
                if (mask.at(x, y) == 255) points.insert({x, y});
                else EXPECT_EQ(mask.at(x, y), 0);
        return points;
    };
    EXPECT_EQ(mask_points(), painted(canvas));
    // Erasing fills whatever the drawing mode, and leaves the rest marked.
    dc.erase_box(0, 0, 8, 30, rgb(0, 0, 0));
    EXPECT_EQ(mask_points(), painted(canvas));
    EXPECT_EQ(dc.drawing_mode(), DrawingMode::Outlined);
}
