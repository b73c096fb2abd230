#include "house_test_support.hpp"

using namespace house_test;

TEST(WallFace, WorkedExampleFootOfEveryFaceAtWidth100) {
    // Width 100, "4 x 4", height 60: every face is 50 wide and its image's
    // bottom row lands just above the footprint edge.
    struct Foot {
        int kind, x_left, y_left, x_right, y_right;
    };
    for (const Foot& foot : {Foot{1, 90, 175, 130, 195}, Foot{2, 130, 197, 170, 177}, Foot{3, 130, 155, 170, 175},
                             Foot{4, 90, 175, 130, 155}}) {
        SCOPED_TRACE(testing::Message() << "face " << foot.kind);
        HouseRig rig;
        rig.state().house_height = 60;
        TileContext ctx = rig.context();
        draw_wall_face(ctx, foot.kind, 60);
        const auto spans = column_spans(rig.canvas());
        EXPECT_EQ(spans.begin()->first, foot.x_left);
        EXPECT_EQ(spans.rbegin()->first, foot.x_right);
        EXPECT_EQ(spans.at(foot.x_left).bottom, foot.y_left);
        EXPECT_EQ(spans.at(foot.x_right).bottom, foot.y_right);
    }
}

TEST(WallFace, BackFacesAreTheHouseHeightAndFrontFacesCarryAGable) {
    HouseRig rig;
    rig.state().house_height = 60;
    TileContext ctx = rig.context();
    draw_wall_face(ctx, 4, 60);
    // Face 4's top row: from (90, 116) up to (130, 96), 60 rows above its foot.
    const auto back = column_spans(rig.canvas());
    EXPECT_EQ(back.at(90).top, 116);
    EXPECT_EQ(back.at(130).top, 96);

    rig.state().canvas = RasterImage(260, 260);
    draw_wall_face(ctx, 1, 60);
    // Face 1's image is 85 high: its top row runs from (90, 91) to (130, 111),
    // but only the gable's apex, the middle column, keeps that row.
    const auto front = column_spans(rig.canvas());
    EXPECT_EQ(front.at(110).top, 101);  // 91 + 0.4 x 50 / 2
    EXPECT_GT(front.at(92).top, 110);   // the cut-away corner
    EXPECT_EQ(face_image_height(1, 50, 60), 85);
    EXPECT_EQ(face_image_height(3, 50, 60), 60);
}

TEST(WallFace, TallFrontFacesAreBuiltAtFullHeightRepeatingTheCell) {
    // Width 160, "4 x 4", height 90: L = 80 and the front image is 130 rows,
    // past the 128 rows of a cell. Rows 128 and 129 take the cell's rows 0
    // and 1 again, never the next cell's.
    HouseRig rig(1, 12);
    RasterImage building(776, 774);
    for (int y = 0; y < 774; ++y)
        for (int x = 0; x < 776; ++x) building.set_pixel(x, y, rgb(100, y % 128, y / 128));
    rig.state().building_sheet.image = building;
    rig.state().house_height = 90;
    rig.state().wall_texture = 2;
    EXPECT_EQ(face_image_height(1, 80, 90), 130);
    TileContext ctx = rig.context();
    const RasterImage wall = prepare_wall_image(ctx, 80, 130, true);
    ASSERT_EQ(wall.height(), 130);
    // Column 40 is the gable's apex and lies between the two openings.
    for (int y = 0; y < 130; ++y) ASSERT_EQ(wall.pixel(40, y), rgb(100, y % 128, 0)) << "row " << y;

    // Painted, its top stands 130 rows above the foot, above the back walls.
    HouseRig tall(1, 12);
    tall.state().house_height = 90;
    TileContext tctx = tall.context();
    draw_wall_face(tctx, 1, 90);
    const int apex_x = tall.state().geometry.house_left_x + 32;  // 0.4 x 80
    EXPECT_EQ(column_spans(tall.canvas()).at(apex_x).top, tall.state().geometry.house_left_y - 130 + 16);
}

TEST(WallFace, ShadingPerFaceRoundsHalvesToEven) {
    for (const auto& [kind, expected] :
         {std::pair{4, rgb(2, 2, 128)}, {3, rgb(2, 2, 128)}, {1, rgb(2, 4, 191)}, {2, rgb(3, 5, 255)}}) {
        HouseRig rig;
        rig.fill_sheets(rgb(3, 5, 255), rgb(1, 1, 1));
        rig.state().house_height = 40;
        TileContext ctx = rig.context();
        draw_wall_face(ctx, kind, 40);
        for (const auto& [x, y] : painted_pixels(rig.canvas())) ASSERT_EQ(rig.canvas().pixel(x, y), expected) << kind;
    }
}

TEST(WallFace, KeyColouredTexelLeavesAHole) {
    HouseRig rig;
    RasterImage& sheet = rig.state().building_sheet.image;
    for (int y = 20; y < 24; ++y)
        for (int x = 20; x < 24; ++x) sheet.set_pixel(x, y, transparent_key);
    rig.state().house_height = 60;
    // What lies behind the face shows through the hole.
    const Colour behind = rgb(9, 99, 9);
    for (int y = 0; y < 260; ++y)
        for (int x = 0; x < 260; ++x) rig.state().canvas.set_pixel(x, y, behind);
    TileContext ctx = rig.context();
    draw_wall_face(ctx, 4, 60);
    // Image column 21 alone lands on canvas column 107 (steps 42 and 43 at
    // 0.4 a step), rising 8 and 9 pixels: image rows 20..23 cover 127..131
    // and the rows around them all but 128..130.
    for (int y = 128; y <= 130; ++y) EXPECT_EQ(rig.canvas().pixel(107, y), behind) << y;
    EXPECT_NE(rig.canvas().pixel(107, 140), behind);
}

TEST(WallFace, RuinsGetABrokenTopAndFiveGreyHeapsAFace) {
    HouseRig rig(4);
    rig.state().ruins_mode = true;
    rig.state().house_height = 60;
    TileContext ctx = rig.context();
    const std::uint64_t before = rig.app->random().draw_count();
    draw_wall_face(ctx, 1, 60);
    EXPECT_GT(rig.app->random().draw_count() - before, 129u + 5u);
    const TileGeometry& g = rig.state().geometry;
    int grey = 0;
    for (const auto& [x, y] : painted_pixels(rig.canvas())) {
        const Colour c = rig.canvas().pixel(x, y);
        if (red(c) != green(c) || green(c) != blue(c)) continue;
        ++grey;
        ASSERT_GE(red(c), 21);
        ASSERT_LE(red(c), 180);
        // Heaps stand on the foot of the two front walls.
        ASSERT_GE(y, g.house_left_y - 20);
        ASSERT_LE(y, g.house_front_y + 1);
    }
    EXPECT_GT(grey, 20);

    // The broken top removes wall: the same face, intact, has more of it.
    HouseRig intact(4);
    intact.state().house_height = 60;
    TileContext ictx = intact.context();
    draw_wall_face(ictx, 1, 60);
    const auto wall_pixels = [](const RasterImage& image) {
        int n = 0;
        for (const auto& [x, y] : painted_pixels(image)) n += image.pixel(x, y) == rgb(90, 60, 30);  // 0.75 shade
        return n;
    };
    EXPECT_LT(wall_pixels(rig.canvas()), wall_pixels(intact.canvas()));
}
