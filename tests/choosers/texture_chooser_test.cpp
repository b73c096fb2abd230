#include "state/control_ids.hpp"
#include "choosers/texture_chooser.hpp"

#include "../support/test_app.hpp"

#include <functional>
#include <vector>

namespace {
constexpr ChooserKind all_kinds[] = {ChooserKind::water,    ChooserKind::grass_colour, ChooserKind::windows,
                                     ChooserKind::mountain, ChooserKind::wall,         ChooserKind::door,
                                     ChooserKind::ground,   ChooserKind::roof};

// A window that clicks where the script says, then presses "Ok".
struct ScriptedChooserWindow : ChooserPort {
    std::vector<std::pair<int, int>> clicks;
    int runs = 0;
    ChooserKind last_kind{};
    void run_chooser(TextureChooser& chooser) override {
        ++runs;
        last_kind = chooser.kind();
        chooser.render();
        for (const auto& [x, y] : clicks) {
            chooser.click(x, y);
            chooser.render();
        }
    }
};

struct ChooserRig : TestApp {
    ChooserRig() { app->set_chooser_port(&window); }
    void press(int button, std::vector<std::pair<int, int>> clicks = {}) {
        window.clicks = std::move(clicks);
        app->control_event(button);
    }
    ScriptedChooserWindow window;
};
}  // namespace

TEST(ChooserSpecs, TitlesGridsSizesAndTheOkButton) {
    const ChooserSpec& mountain = chooser_spec(ChooserKind::mountain);
    EXPECT_STREQ(mountain.title, "Choose mountain texture");
    EXPECT_EQ(mountain.cell_count(), 20);
    EXPECT_EQ(mountain.ok_x(), 135);
    EXPECT_EQ(mountain.ok_y(), 261);
    EXPECT_STREQ(chooser_spec(ChooserKind::grass_colour).title, "Choose grass colour");
    EXPECT_EQ(chooser_spec(ChooserKind::water).height, 160);
    EXPECT_EQ(chooser_spec(ChooserKind::wall).width, 750);
    EXPECT_EQ(chooser_spec(ChooserKind::roof).height, 290);
    EXPECT_EQ(chooser_spec(ChooserKind::roof).cell_count(), 12);
    // Cells of each kind come from their own sheet rows.
    EXPECT_EQ(chooser_cell_origin(ChooserKind::mountain, 13).y, 384 + 64);
    EXPECT_EQ(chooser_cell_origin(ChooserKind::grass_colour, 3).x, 192);
    EXPECT_EQ(chooser_cell_origin(ChooserKind::grass_colour, 3).y, 128);
    EXPECT_EQ(chooser_cell_origin(ChooserKind::roof, 7).x, 128);
    EXPECT_EQ(chooser_cell_origin(ChooserKind::roof, 7).y, 640);
    EXPECT_EQ(chooser_cell_origin(ChooserKind::ground, 19).x, 576);
    EXPECT_EQ(chooser_cell_origin(ChooserKind::ground, 19).y, 256);
}

TEST(ChooserHitTest, RowsColumnsTheStripBelowAndTheSixthColumn) {
    TestApp t;
    for (ChooserKind kind : all_kinds) {
        const TextureChooser chooser(t.state(), kind);
        const ChooserSpec& s = chooser.spec();
        SCOPED_TRACE(s.title);
        EXPECT_EQ(chooser.cell_at(0, 0), 0);
        EXPECT_EQ(chooser.cell_at(s.cell_size - 1, s.cell_size - 1), 0);
        EXPECT_EQ(chooser.cell_at(s.cell_size, 0), 1);
        EXPECT_EQ(chooser.cell_at(0, s.cell_size), s.columns);
        // The strip below the cells, beside the "Ok" button, holds no cell.
        EXPECT_EQ(chooser.cell_at(5, s.rows * s.cell_size), -1);
        EXPECT_EQ(chooser.cell_at(s.width - 1, s.height - 1), -1);
        // Outside the window.
        EXPECT_EQ(chooser.cell_at(-1, -1), -1);
        EXPECT_EQ(chooser.cell_at(s.width, 0), -1);
    }
    // The wall and roof windows show only 110 pixels of the sixth column,
    // and a click there picks it.
    const TextureChooser walls(t.state(), ChooserKind::wall);
    EXPECT_EQ(walls.cell_at(749, 3 * 128 + 1), 23);
    const TextureChooser roofs(t.state(), ChooserKind::roof);
    EXPECT_EQ(roofs.cell_at(640, 200), 11);
}

TEST(ChooserPicture, CellsFromTheSheetAndATwoPixelRedFrame) {
    TestApp t;
    t.state().mountain_texture = 7;
    TextureChooser chooser(t.state(), ChooserKind::mountain);
    const RasterImage picture = chooser.render();
    ASSERT_EQ(picture.width(), 320);
    ASSERT_EQ(picture.height(), 283);
    const int x = 64 * 2, y = 64;  // cell 7
    for (int k : {0, 1}) {
        EXPECT_EQ(picture.pixel(x + k, y + 30), rgb(255, 0, 0));
        EXPECT_EQ(picture.pixel(x + 63 - k, y + 30), rgb(255, 0, 0));
        EXPECT_EQ(picture.pixel(x + 30, y + k), rgb(255, 0, 0));
    }
    const SheetPoint texel = chooser_cell_origin(ChooserKind::mountain, 7);
    EXPECT_EQ(picture.pixel(x + 2, y + 30), t.state().ground_sheet.image.pixel(texel.x + 2, texel.y + 30));
    // An unframed cell is the texture, edge to edge.
    EXPECT_EQ(picture.pixel(0, 0), t.state().ground_sheet.image.pixel(0, 384));
}

TEST(Chooser, OpeningAndClosingAtOnceStoresWhatEachKindStores) {
    ChooserRig r;
    r.state().windows_texture = 4;
    r.press(ctl::windows_texture_button);
    EXPECT_EQ(r.state().windows_texture, 4);
    EXPECT_TRUE(r.controls().checked(ctl::lock_windows_texture));

    // From the Terrain tab a water pick ticks the Terrain tab's lock only.
    r.state().terrain_water_texture = 6;
    r.press(ctl::terrain_water_texture_button);
    EXPECT_TRUE(r.controls().checked(ctl::lock_terrain_water_texture));
    // For the Water tab the terrain's water texture is copied and locked.
    r.press(ctl::water_texture_2_button);
    EXPECT_EQ(r.state().water_texture_2, 6);
    EXPECT_TRUE(r.controls().checked(ctl::lock_water_texture_2));
    EXPECT_FALSE(r.controls().checked(ctl::lock_water_texture_1));
}

TEST(Chooser, APickIsStoredAndTheNextTileUsesIt) {
    ChooserRig r;
    r.press(ctl::mountain_texture_button, {{64 * 3 + 10, 64 * 2 + 10}});  // row 2, column 3
    EXPECT_EQ(r.window.last_kind, ChooserKind::mountain);
    EXPECT_EQ(r.state().mountain_texture, 13);
    EXPECT_TRUE(r.controls().checked(ctl::lock_mountain_texture));
    r.controls().write(ctl::panel, tab_mountain);
    r.app->control_event(ctl::draw_random_button);
    EXPECT_EQ(r.state().mountain_texture, 13);

    // A click in the strip below the cells changes nothing.
    r.press(ctl::mountain_texture_button, {{10, 270}});
    EXPECT_EQ(r.state().mountain_texture, 13);

    // The Terrain tab's water pick holds for every following tile too.
    r.press(ctl::terrain_water_texture_button, {{64 * 4 + 1, 65}});  // cell 9
    r.controls().write(ctl::panel, tab_terrain);
    for (int tile = 0; tile < 5; ++tile) {
        r.app->control_event(ctl::draw_random_button);
        EXPECT_EQ(r.state().terrain_water_texture, 9);
    }
}

TEST(Chooser, GroundPicksTickBothTabsLocks) {
    for (int button : {ctl::terrain_ground_texture_button, ctl::mountain_ground_texture_button}) {
        ChooserRig r;
        r.press(button, {{70, 70}});
        EXPECT_EQ(r.state().ground_texture, 6);
        EXPECT_TRUE(r.controls().checked(ctl::terrain_lock_ground_texture));
        EXPECT_TRUE(r.controls().checked(ctl::mountain_lock_ground_texture));
    }
}

TEST(Chooser, AWaterPickForTheWaterTabAlsoChangesTheTerrainsWater) {
    ChooserRig r;
    r.press(ctl::water_texture_1_button, {{64 * 4 + 1, 65}});  // cell 9
    EXPECT_EQ(r.state().water_texture_1, 9);
    EXPECT_EQ(r.state().terrain_water_texture, 9);
    EXPECT_TRUE(r.controls().checked(ctl::lock_water_texture_1));
}

TEST(Chooser, WallsAreMultipleChoiceRebuiltInIncreasingOrder) {
    ChooserRig r;
    r.press(ctl::wall_texture_button, {{700, 400}, {10, 10}, {140, 10}, {10, 10}, {300, 260}});
    // Clicked 23, 0, 1, 0 again (unmarked), 14.
    ASSERT_EQ(r.state().chosen_wall_count, 3);
    EXPECT_EQ(r.state().chosen_walls[0], 1);
    EXPECT_EQ(r.state().chosen_walls[1], 14);
    EXPECT_EQ(r.state().chosen_walls[2], 23);
    EXPECT_TRUE(r.controls().checked(ctl::lock_wall_texture));

    // Opening again to look and pressing "Ok" keeps the earlier picks.
    r.press(ctl::wall_texture_button);
    EXPECT_EQ(r.state().chosen_wall_count, 3);
    TextureChooser look(r.state(), ChooserKind::wall);
    EXPECT_TRUE(look.framed(14));
    EXPECT_FALSE(look.framed(0));

    // Clicking every mark away leaves an empty list, still locked.
    r.press(ctl::wall_texture_button, {{140, 10}, {300, 260}, {700, 400}});
    EXPECT_EQ(r.state().chosen_wall_count, 0);
    EXPECT_TRUE(r.controls().checked(ctl::lock_wall_texture));
}

TEST(Chooser, RoofsFillTheirOwnList) {
    ChooserRig r;
    r.press(ctl::roof_texture_button, {{650, 140}, {10, 10}});
    ASSERT_EQ(r.state().chosen_roof_count, 2);
    EXPECT_EQ(r.state().chosen_roofs[0], 0);
    EXPECT_EQ(r.state().chosen_roofs[1], 11);
    EXPECT_EQ(r.state().chosen_wall_count, 0);
    EXPECT_TRUE(r.controls().checked(ctl::lock_roof_texture));
    r.controls().write(ctl::panel, tab_house);
    for (int n = 0; n < 20; ++n) {
        r.app->control_event(ctl::draw_random_button);
        ASSERT_TRUE(r.state().roof_texture == 0 || r.state().roof_texture == 11);
    }
}

TEST(Chooser, GrassColourComesFromTheFramedCellAndAnEarlierPickSurvivesALook) {
    ChooserRig r;
    const RasterImage& sheet = r.state().ground_sheet.image;
    r.press(ctl::grass_colour_button, {{64 * 3 + 5, 70}});  // cell 8
    EXPECT_EQ(r.state().grass_colour, sheet.pixel(64 * 8 + 5, 133));
    EXPECT_TRUE(r.controls().checked(ctl::lock_colour_texture));

    // Opening to look frames cell 8, the colour in use, and keeps it.
    r.press(ctl::grass_colour_button);
    EXPECT_EQ(r.state().grass_colour, sheet.pixel(64 * 8 + 5, 133));

    // A colour that is no cell's: the chooser opens on cell 0.
    r.state().grass_colour = rgb(1, 2, 3);
    r.press(ctl::grass_colour_button);
    EXPECT_EQ(r.state().grass_colour, sheet.pixel(5, 133));
}

TEST(Chooser, ABlackGrassCellBecomesTheReplacementGreen) {
    ChooserRig r;
    RasterImage& sheet = r.state().ground_sheet.image;
    for (int y = 128; y < 192; ++y)
        for (int x = 0; x < 64; ++x) sheet.set_pixel(x, y, 0);
    r.state().grass_colour = rgb(1, 2, 3);
    r.press(ctl::grass_colour_button);
    EXPECT_EQ(r.state().grass_colour, rgb(100, 200, 50));
}

TEST(Chooser, AReleaseOutsideTheWindowPicksNothing) {
    ChooserRig r;
    r.state().door_texture = 5;
    r.press(ctl::door_texture_button, {{-1, -1}});
    EXPECT_EQ(r.state().door_texture, 5);
}

TEST(Chooser, WithoutAWindowItClosesAtOnce) {
    TestApp t;  // no chooser port
    t.state().ground_texture = 12;
    t.app->control_event(ctl::terrain_ground_texture_button);
    EXPECT_EQ(t.state().ground_texture, 12);
    EXPECT_TRUE(t.controls().checked(ctl::mountain_lock_ground_texture));
}
