#include "canvas/tile_geometry.hpp"

#include <gtest/gtest.h>

namespace {
TileGeometry at(int width, int shape = shape_4x3) {
    TileGeometry g;
    compute_tile_geometry(g, (width - 40) / 10, shape);
    return g;
}
}  // namespace

TEST(TileGeometry, DerivedValuesForEveryWidth) {
    const int front_y[17] = {187, 189, 190, 192, 194, 196, 198, 199, 201, 203, 204, 206, 208, 210, 212, 213, 215};
    for (int item = 0; item < 17; ++item) {
        const int width = 40 + 10 * item;
        const TileGeometry g = at(width);
        SCOPED_TRACE(width);
        EXPECT_EQ(g.iso_width, width);
        EXPECT_EQ(g.half_width, width / 2);
        EXPECT_EQ(g.house_size, width * 4 / 5);
        EXPECT_EQ(g.house_unit, width * 4 / 5 / 7);
        EXPECT_EQ(g.tile_left_x, 130 - width / 2);
        EXPECT_EQ(g.tile_right_x, 130 + width / 2);
        EXPECT_EQ(g.tile_top_y, 180 - width / 2 / 2);
        EXPECT_EQ(g.tile_bottom_y, 180 + width / 2 / 2);
        EXPECT_EQ(g.house_front_x, 130);
        EXPECT_EQ(g.house_front_y, front_y[item]);
    }
}

TEST(TileGeometry, CornersAtTheExtremeWidths) {
    const TileGeometry narrow = at(40);
    EXPECT_EQ(narrow.tile_left_x, 110);
    EXPECT_EQ(narrow.tile_top_y, 170);
    EXPECT_EQ(narrow.tile_right_x, 150);
    EXPECT_EQ(narrow.tile_bottom_y, 190);
    EXPECT_EQ(narrow.house_size, 32);
    EXPECT_EQ(narrow.house_unit, 4);

    const TileGeometry wide = at(200);
    EXPECT_EQ(wide.tile_left_x, 30);
    EXPECT_EQ(wide.tile_top_y, 130);
    EXPECT_EQ(wide.tile_right_x, 230);
    EXPECT_EQ(wide.tile_bottom_y, 230);
    EXPECT_EQ(wide.house_size, 160);
    EXPECT_EQ(wide.house_unit, 22);

    const TileGeometry odd = at(50);  // half height rounds down to 12
    EXPECT_EQ(odd.half_width, 25);
    EXPECT_EQ(odd.tile_top_y, 168);
    EXPECT_EQ(odd.tile_bottom_y, 192);
}

TEST(TileGeometry, FootprintsAtWidth100) {
    struct Row {
        int shape, left_reach, right_reach, left_x, left_y, right_x, right_y, w, back_x, back_y;
    };
    const Row rows[] = {{shape_4x4, 40, 40, 90, 176, 170, 176, 50, 130, 156},
                        {shape_4x3, 40, 30, 90, 176, 160, 184, 38, 120, 161},
                        {shape_3x4, 30, 40, 100, 184, 170, 176, 50, 140, 164},
                        {shape_3x3, 30, 30, 100, 184, 160, 184, 38, 130, 169}};
    for (const Row& r : rows) {
        const TileGeometry g = at(100, r.shape);
        SCOPED_TRACE(r.shape);
        EXPECT_EQ(g.house_size, 80);
        EXPECT_EQ(g.house_unit, 11);
        EXPECT_EQ(g.house_front_y, 198);
        EXPECT_EQ(g.house_left_reach, r.left_reach);
        EXPECT_EQ(g.house_right_reach, r.right_reach);
        EXPECT_EQ(g.house_left_x, r.left_x);
        EXPECT_EQ(g.house_left_y, r.left_y);
        EXPECT_EQ(g.house_right_x, r.right_x);
        EXPECT_EQ(g.house_right_y, r.right_y);
        EXPECT_EQ(wall_face_width(g, r.shape, 4), r.w);
        EXPECT_EQ(g.house_back_x, r.back_x);
        EXPECT_EQ(g.house_back_y, r.back_y);
    }
}

TEST(TileGeometry, WallFaceWidthsResolveHalvesToEven) {
    struct Case {
        int width, expected_short;
    };
    // g = half the width; the short faces are g * 0.75 rounded half to even.
    for (const Case c : {Case{60, 22}, {100, 38}, {140, 52}, {180, 68}, {50, 19}, {90, 34}}) {
        const TileGeometry g = at(c.width, shape_4x3);
        SCOPED_TRACE(c.width);
        EXPECT_EQ(wall_face_width(g, shape_4x3, 2), c.expected_short);
        EXPECT_EQ(wall_face_width(g, shape_4x3, 4), c.expected_short);
        EXPECT_EQ(wall_face_width(g, shape_4x3, 1), c.width / 2);
        EXPECT_EQ(wall_face_width(g, shape_3x4, 1), c.expected_short);
        EXPECT_EQ(wall_face_width(g, shape_3x4, 3), c.expected_short);
        EXPECT_EQ(wall_face_width(g, shape_3x4, 2), c.width / 2);
        EXPECT_EQ(wall_face_width(g, shape_3x3, 2), c.expected_short);
        EXPECT_EQ(wall_face_width(g, shape_4x4, 2), c.width / 2);
    }
}
