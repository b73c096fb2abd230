#include "state/tile_setup.hpp"

#include "state/control_ids.hpp"
#include "canvas/drawing_context.hpp"
#include "../support/test_app.hpp"

#include "../support/pixels.hpp"

TEST(TileFrame, BeginTileClearsTheWholeCanvas) {
    TestApp t;
    {
        DrawingContext dc(t.state().canvas);
        dc.box(0, 0, 260, 260, rgb(9, 9, 9));
    }
    TileContext ctx = t.context();
    set_tile_geometry(ctx);
    begin_tile(ctx, tile_area_colour);
    EXPECT_TRUE(painted(t.state().canvas).empty());
}

TEST(TileFrame, TileAreaIsExactlyTheFourOutlineLines) {
    for (int item : {0, 1, 6, 16}) {
        TestApp t;
        t.controls().write(ctl::draw_tile_area, 1);
        t.controls().write(ctl::iso_width, item);
        TileContext ctx = t.context();
        set_tile_geometry(ctx);
        begin_tile(ctx, tile_area_colour);
        const TileGeometry& g = t.state().geometry;

        RasterImage expected(260, 260);
        DrawingContext dc(expected);
        dc.line_xy(g.tile_left_x, g.ground_y, g.centre_x, g.tile_top_y, tile_area_colour);
        dc.line_xy(g.centre_x, g.tile_top_y, g.tile_right_x, g.ground_y, tile_area_colour);
        dc.line_xy(g.tile_right_x, g.ground_y, g.centre_x, g.tile_bottom_y, tile_area_colour);
        dc.line_xy(g.centre_x, g.tile_bottom_y, g.tile_left_x, g.ground_y, tile_area_colour);
        EXPECT_EQ(t.state().canvas, expected) << "width item " << item;

        const auto points = painted(t.state().canvas);
        for (auto corner : {std::pair{int(g.tile_left_x), 180},
                            {130, int(g.tile_top_y)},
                            {int(g.tile_right_x), 180},
                            {130, int(g.tile_bottom_y)}})
            EXPECT_TRUE(points.count(corner));
        // Nothing lies outside the diamond's bounding box.
        for (auto [x, y] : points) {
            EXPECT_GE(x, g.tile_left_x);
            EXPECT_LE(x, g.tile_right_x);
            EXPECT_GE(y, g.tile_top_y);
            EXPECT_LE(y, g.tile_bottom_y);
        }
    }
}

TEST(TileFrame, ShowTileCopiesTheCanvasAndShowsIt) {
    TestApp t;
    {
        DrawingContext dc(t.state().canvas);
        dc.plot(3, 4, rgb(1, 2, 3));
        dc.plot(259, 259, rgb(4, 5, 6));
    }
    TileContext ctx = t.context();
    show_tile(ctx);
    EXPECT_EQ(t.state().display_image, t.state().canvas);
    EXPECT_EQ(t.ui.images_shown, 1);
    EXPECT_EQ(t.ui.last_shown, t.state().canvas);
    // The display is a copy: later drawing on the canvas does not reach it.
    DrawingContext dc(t.state().canvas);
    dc.plot(3, 4, 0);
    EXPECT_EQ(t.state().display_image.pixel(3, 4), rgb(1, 2, 3));
}

TEST(TileFrame, ReadersFollowTheWidthControl) {
    TestApp t;
    TileContext ctx = t.context();
    EXPECT_EQ(set_half_width(ctx), 50);
    EXPECT_EQ(set_house_size(ctx), 80);
    t.controls().write(ctl::iso_width, 16);
    EXPECT_EQ(set_half_width(ctx), 100);
    EXPECT_EQ(set_house_size(ctx), 160);
}
