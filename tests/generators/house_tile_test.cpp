#include "generators/house/house_height.hpp"
#include "house_test_support.hpp"

#include <set>

using namespace house_test;

namespace {
void unlock_everything(TileRig& rig) {
    for (int box : {ctl::lock_shape, ctl::lock_size, ctl::lock_height, ctl::lock_roof, ctl::lock_wall_texture,
                    ctl::lock_roof_texture, ctl::lock_door_texture, ctl::lock_windows_texture})
        rig.controls().write(box, 0);
}

void draw_house(TileRig& rig) {
    rig.controls().write(ctl::panel, tab_house);
    rig.app->control_event(ctl::draw_random_button);
}
}  // namespace

TEST(HouseTile, UnlockedParametersAreDrawnAndShownInTheirControls) {
    TileRig rig(11);
    unlock_everything(rig);
    std::set<int> shapes, widths, froms, roofs;
    for (int n = 0; n < 300; ++n) {
        draw_house(rig);
        const int from = rig.controls().read(ctl::lowest_height), to = rig.controls().read(ctl::highest_height);
        ASSERT_GE(to, from);
        ASSERT_LE(to, std::min(from + 4, 8));
        const int height = rig.state().house_height;
        ASSERT_GE(height, 10 * from + 10);
        ASSERT_LE(height, std::max(10 * from + 10, 10 * to + 9));
        shapes.insert(rig.controls().read(ctl::house_shape));
        widths.insert(rig.controls().read(ctl::iso_width));
        froms.insert(from);
        roofs.insert(rig.state().roof_side);
        ASSERT_EQ(rig.state().roof_side, rig.controls().read(ctl::roof_shape));
        ASSERT_EQ(rig.state().geometry.iso_width, 40 + 10 * rig.controls().read(ctl::iso_width));
    }
    EXPECT_EQ(shapes, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(widths, (std::set<int>{5, 6, 7, 8, 9, 10, 11, 12}));  // 90..160
    EXPECT_EQ(froms, (std::set<int>{1, 2, 3, 4, 5, 6, 7}));         // 20..80
    EXPECT_EQ(roofs, (std::set<int>{0, 1}));
}

TEST(HouseTile, PickHouseHeightFollowsTheTwoCombos) {
    TileRig rig(2);
    ControlModel& c = rig.controls();
    RandomSource& random = rig.app->random();
    c.write(ctl::lowest_height, 4);
    c.write(ctl::highest_height, 4);
    EXPECT_EQ(pick_house_height(c, random), 50);
    c.write(ctl::lowest_height, 5);  // "60" over "30": the from-height
    c.write(ctl::highest_height, 2);
    EXPECT_EQ(pick_house_height(c, random), 60);
    c.write(ctl::lowest_height, 1);
    c.write(ctl::highest_height, 2);
    std::set<int> heights;
    for (int n = 0; n < 300; ++n) heights.insert(pick_house_height(c, random));
    EXPECT_EQ(*heights.begin(), 20);
    EXPECT_EQ(*heights.rbegin(), 29);
}

TEST(HouseTile, DrawOnlyTileAreaShowsTheOutlineButStillWritesBackTheChoices) {
    TileRig rig(6);
    unlock_everything(rig);
    rig.controls().write(ctl::draw_only_tile_area, 1);
    rig.controls().write(ctl::draw_tile_area, 1);
    rig.state().wall_texture = 7;
    rig.state().door_texture = 3;
    std::set<int> shapes, widths;
    for (int n = 0; n < 40; ++n) {
        draw_house(rig);
        shapes.insert(rig.controls().read(ctl::house_shape));
        widths.insert(rig.controls().read(ctl::iso_width));
        for (const auto& [x, y] : painted_pixels(rig.canvas())) ASSERT_EQ(rig.canvas().pixel(x, y), tile_area_colour);
    }
    EXPECT_GT(shapes.size(), 1u);
    EXPECT_GT(widths.size(), 1u);
    EXPECT_EQ(rig.state().wall_texture, 7);
    EXPECT_EQ(rig.state().door_texture, 3);
}

TEST(HouseTile, RuinsHaveNoRoofAndItsTextureReadsTwelve) {
    TileRig rig(9);
    rig.controls().write(ctl::draw_ruins, 1);
    // A roof in a colour nothing else has: no pixel of it may appear.
    RasterImage& sheet = rig.state().building_sheet.image;
    for (int y = 512; y < 768; ++y)
        for (int x = 0; x < 768; ++x) sheet.set_pixel(x, y, rgb(1, 254, 3));
    // A left slope is painted darker: (1, 254, 3) / 1.5.
    const auto is_roof = [](Colour c) { return c == rgb(1, 254, 3) || c == rgb(1, 169, 2); };
    for (int n = 0; n < 10; ++n) {
        draw_house(rig);
        EXPECT_EQ(rig.state().roof_texture, 12);
        for (const auto& [x, y] : painted_pixels(rig.canvas())) ASSERT_FALSE(is_roof(rig.canvas().pixel(x, y)));
    }
    rig.controls().write(ctl::draw_ruins, 0);
    draw_house(rig);
    EXPECT_LT(rig.state().roof_texture, 12);
    int roof = 0;
    for (const auto& [x, y] : painted_pixels(rig.canvas())) roof += is_roof(rig.canvas().pixel(x, y));
    EXPECT_GT(roof, 0);
}

TEST(HouseTile, LockedTextureListsPickFromTheListOrFromAllWhenEmpty) {
    TileRig rig(13);
    rig.controls().write(ctl::lock_wall_texture, 1);
    rig.controls().write(ctl::lock_roof_texture, 1);
    std::set<int> walls, roofs;
    for (int n = 0; n < 200; ++n) {
        draw_house(rig);
        walls.insert(rig.state().wall_texture);
        roofs.insert(rig.state().roof_texture);
    }
    // Nothing chosen yet: every texture, as if unlocked.
    EXPECT_EQ(walls.size(), 24u);
    EXPECT_EQ(roofs.size(), 12u);

    rig.state().chosen_walls[0] = 5;
    rig.state().chosen_walls[1] = 17;
    rig.state().chosen_wall_count = 2;
    rig.state().chosen_roofs[0] = 9;
    rig.state().chosen_roof_count = 1;
    walls.clear();
    roofs.clear();
    for (int n = 0; n < 100; ++n) {
        draw_house(rig);
        walls.insert(rig.state().wall_texture);
        roofs.insert(rig.state().roof_texture);
    }
    EXPECT_EQ(walls, (std::set<int>{5, 17}));
    EXPECT_EQ(roofs, (std::set<int>{9}));
}

TEST(HouseTile, RandomElementTicksEachExtraAboutThreeTimesInTen) {
    TileRig rig(21);
    rig.controls().write(ctl::random_element, 1);
    rig.controls().write(ctl::iso_width, 0);
    int flowers = 0, left = 0, right = 0;
    constexpr int tiles = 1000;
    for (int n = 0; n < tiles; ++n) {
        draw_house(rig);
        flowers += rig.controls().checked(ctl::add_flowers);
        left += rig.controls().checked(ctl::add_left_fence);
        right += rig.controls().checked(ctl::add_right_fence);
    }
    for (int count : {flowers, left, right}) {
        EXPECT_GT(count, 250);
        EXPECT_LT(count, 350);
    }
}

TEST(HouseTile, AddGroundPaintsTheTerrainUnderTheHouseAndHidesTheOutline) {
    TileRig rig(17);
    rig.controls().write(ctl::draw_tile_area, 1);
    rig.controls().write(ctl::add_ground, 1);
    rig.controls().write(ctl::lock_size, 1);
    draw_house(rig);
    const TileGeometry& g = rig.state().geometry;
    // The diamond's bottom corner is ground, not black and not the outline.
    const Colour corner = rig.canvas().pixel(g.centre_x, g.tile_bottom_y - 2);
    EXPECT_NE(corner, 0);
    EXPECT_NE(corner, tile_area_colour);
    EXPECT_EQ(rig.canvas().pixel(g.tile_left_x, g.ground_y), 0);  // the outline's corner, cleared
}

TEST(HouseTile, SameSeedSameTile) {
    auto tile = [](std::uint64_t seed) {
        TileRig rig(seed);
        unlock_everything(rig);
        for (int box : {ctl::add_flowers, ctl::add_left_fence, ctl::add_right_fence, ctl::add_ground})
            rig.controls().write(box, 1);
        draw_house(rig);
        return summarise(rig.canvas());
    };
    EXPECT_EQ(tile(31), tile(31));
    EXPECT_NE(tile(31), tile(32));
}
