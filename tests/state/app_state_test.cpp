#include "state/app_state.hpp"

#include "../support/test_app.hpp"

#include <cmath>

TEST(AppState, TrigonometryTablesUseTheNearDegreeDivisor) {
    AppState state;
    fill_fixed_tables(state);
    EXPECT_FLOAT_EQ(state.cos_table[0], 1.0f);
    EXPECT_EQ(state.sin_table[0], 0.0f);
    EXPECT_NEAR(state.sin_table[90], 0.99999, 1e-5);
    EXPECT_LT(state.sin_table[90], 1.0f);
    EXPECT_NEAR(state.sin_table[360], 0.01682, 1e-5);
    EXPECT_NEAR(state.cos_table[180], -0.99996, 1e-5);
    EXPECT_NEAR(state.sin_table[180], -0.0084, 1e-4);
    for (int i = 361; i < 367; ++i) {
        EXPECT_EQ(state.sin_table[i], 0.0f);
        EXPECT_EQ(state.cos_table[i], 0.0f);
    }
    // Single-precision results of a double computation.
    EXPECT_EQ(state.sin_table[45], static_cast<float>(std::sin(45 / static_cast<double>(57.1428f))));
}

TEST(AppState, ColourTables) {
    AppState state;
    fill_fixed_tables(state);
    EXPECT_EQ(state.flower_colour_count, 5);
    EXPECT_EQ(state.flower_colours[0], rgb(255, 0, 0));
    EXPECT_EQ(state.flower_colours[3], rgb(255, 0, 255));
    EXPECT_EQ(state.flower_colours[4], rgb(0, 0, 250));
    EXPECT_EQ(state.flower_colours[5], 0);
    EXPECT_EQ(state.fence_colours[1], rgb(200, 180, 0));
    EXPECT_EQ(state.fence_colours[4], rgb(180, 130, 0));
    EXPECT_EQ(state.fence_colours[5], 0);
    EXPECT_EQ(state.trunk_colours[0], rgb(60, 20, 0));
    EXPECT_EQ(state.trunk_colours[5], rgb(135, 70, 0));
    EXPECT_EQ(state.leaf_colours[0], rgb(5, 60, 0));
    EXPECT_EQ(state.leaf_colours[5], rgb(105, 210, 0));
}

TEST(AppState, StartsWithBlackImagesAndEmptyChoices) {
    TestApp t;
    AppState& s = t.state();
    EXPECT_EQ(s.canvas, RasterImage(260, 260));
    EXPECT_EQ(s.display_image, RasterImage(260, 260));
    EXPECT_EQ(s.tile_set_image, RasterImage(1200, 1000));
    EXPECT_EQ(s.save_counter, 0);
    EXPECT_TRUE(s.file_name.empty());
    EXPECT_EQ(s.last_tab, 0);
    EXPECT_EQ(s.roof_side, 1);
    EXPECT_EQ(s.chosen_wall_count, 0);
    EXPECT_EQ(s.height_field.size(), 149u * 149u);
    EXPECT_EQ(s.grass_mask.size(), 201u * 201u);
    EXPECT_EQ(s.geometry.half_width, 50);
    EXPECT_EQ(s.geometry.house_size, 80);
}

TEST(AppState, BuiltInSheetsDecodeWithTheirSizesAndFlatColours) {
    TestApp t;
    AppState& s = t.state();
    EXPECT_EQ(s.about_image.width(), 140);
    EXPECT_EQ(s.about_image.height(), 133);
    EXPECT_EQ(s.boulder_sheet.image.width(), 256);
    EXPECT_EQ(s.boulder_sheet.image.height(), 256);
    EXPECT_EQ(s.ground_sheet.image.width(), 640);
    EXPECT_EQ(s.ground_sheet.image.height(), 512);
    EXPECT_EQ(s.building_sheet.image.width(), 776);
    EXPECT_EQ(s.building_sheet.image.height(), 774);
    EXPECT_EQ(s.building_sheet.cell_size, 128);
    EXPECT_EQ(s.ground_sheet.cell_size, 64);

    const Colour grass[10] = {rgb(1, 60, 0),  rgb(9, 65, 0),  rgb(17, 69, 0), rgb(31, 76, 0),  rgb(44, 81, 0),
                              rgb(60, 86, 0), rgb(65, 88, 0), rgb(76, 92, 0), rgb(118, 98, 2), rgb(94, 98, 0)};
    for (int cell = 0; cell < 10; ++cell)
        for (int y = 128; y < 192; y += 9)
            for (int x = 0; x < 64; x += 7)
                ASSERT_EQ(s.ground_sheet.image.pixel(cell * 64 + x, y), grass[cell]) << "grass cell " << cell;

    // Boulder cells are framed by pure black.
    for (int cell = 0; cell < 12; ++cell) {
        const int x0 = (cell % 4) * 64, y0 = (cell / 4) * 64;
        EXPECT_EQ(s.boulder_sheet.image.pixel(x0, y0), 0) << "boulder " << cell;
        EXPECT_EQ(s.boulder_sheet.image.pixel(x0 + 63, y0 + 63), 0) << "boulder " << cell;
    }
}
