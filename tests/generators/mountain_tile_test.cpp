#include "state/texture_cells.hpp"
#include "generator_test_support.hpp"
#include "generators/mountain/height_field.hpp"
#include "generators/mountain/mountain_relief.hpp"

#include <algorithm>
#include <set>

namespace {
constexpr Colour rock = rgb(200, 120, 40);
constexpr Colour shaded_rock = rgb(100, 60, 20);
constexpr Colour ground = rgb(20, 200, 20);
constexpr Colour lit_snow = rgb(255, 255, 255);
constexpr Colour shaded_snow = rgb(204, 204, 255);

// Grounds in one flat colour, rocks in another, so every painted pixel says
// what painted it.
RasterImage flat_ground_sheet() {
    RasterImage sheet(640, 512);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 640; ++x) sheet.set_pixel(x, y, y >= 384 ? rock : ground);
    return sheet;
}

void tick(TileRig& rig, std::initializer_list<int> boxes) {
    for (int box : {ctl::reduce_to_hill, ctl::snow_covered_top, ctl::all_snow, ctl::lock_current_shape,
                    ctl::add_black_border, ctl::no_terrain})
        rig.controls().write(box, 0);
    for (int box : boxes) rig.controls().write(box, 1);
}

std::vector<float> field(int amplitude, int corner, std::uint64_t seed) {
    std::vector<float> map(height_field_side * height_field_side, 0.0f);
    RandomSource random(seed);
    build_height_field(map, amplitude, corner, random);
    return map;
}
}  // namespace

TEST(HeightField, CornersHoldTheCornerHeightAndTheFirstCentreThePeak) {
    for (const int amplitude : {3, 25, 99}) {
        const std::vector<float> map = field(amplitude, -12, 5);
        for (const auto& [u, w] : {std::pair{0, 0}, {128, 0}, {0, 128}, {128, 128}})
            EXPECT_EQ(height_field_at(map, u, w), -12.0f);
        EXPECT_EQ(height_field_at(map, 64, 64), static_cast<float>(amplitude));
        // Nothing outside the 129 x 129 grid is touched.
        EXPECT_EQ(height_field_at(map, 129, 64), 0.0f);
        EXPECT_EQ(height_field_at(map, 64, 129), 0.0f);
    }
}

TEST(HeightField, AmplitudeOneDisplacesEveryPointByExactlyMinusAHalf) {
    // random_below(1) is always 0, so the field no longer depends on the seed;
    // the first edge midpoints are (K + K + A) / 3 - 0.5.
    const std::vector<float> a = field(1, 0, 1), b = field(1, 0, 999);
    EXPECT_EQ(a, b);
    EXPECT_EQ(height_field_at(a, 64, 0), static_cast<float>(1.0 / 3 - 0.5));
    EXPECT_EQ(height_field_at(a, 0, 64), static_cast<float>(1.0 / 3 - 0.5));
}

TEST(HeightField, SameSeedSameFieldDifferentSeedDifferentField) {
    EXPECT_EQ(field(40, -6, 17), field(40, -6, 17));
    EXPECT_NE(field(40, -6, 17), field(40, -6, 18));
}

TEST(MountainTile, ReduceToHillAtTheSmallestWidth) {
    std::set<float> peaks;
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        TileRig rig(seed);
        tick(rig, {ctl::reduce_to_hill});
        rig.draw(tab_mountain, 0);
        peaks.insert(height_field_at(rig.state().height_field, 64, 64));   // A, with S = 20 / 3 = 6
        EXPECT_EQ(height_field_at(rig.state().height_field, 0, 0), 0.0f);  // K = -(6 / 8) = 0
    }
    EXPECT_EQ(peaks, (std::set<float>{3, 4, 5}));
}

TEST(MountainTile, LockedFirstMountainHasNoRock) {
    TileRig rig(3);
    tick(rig, {ctl::lock_current_shape, ctl::no_terrain});
    rig.controls().write(ctl::draw_tile_area, 0);
    rig.draw(tab_mountain, 6);
    EXPECT_TRUE(painted_pixels(rig.canvas()).empty());
    for (std::int16_t y : rig.state().mountain_profile) ASSERT_EQ(y, no_rock_in_column);

    // With terrain, the flat field is all ground over the underlay.
    tick(rig, {ctl::lock_current_shape});
    rig.state().ground_sheet.image = flat_ground_sheet();
    rig.draw(tab_mountain, 6);
    for (const auto& [x, y] : painted_pixels(rig.canvas())) {
        const Colour c = rig.canvas().pixel(x, y);
        ASSERT_TRUE(c == ground || (red(c) <= 200 && green(c) <= 120 && red(c) >= 100)) << x << "," << y;
    }
}

TEST(MountainTile, NoTerrainWithBorderPaintsOnlyRockAndTheBorder) {
    for (int item = 0; item < 17; item += 4) {
        TileRig rig(20 + item);
        rig.state().ground_sheet.image = flat_ground_sheet();
        tick(rig, {ctl::no_terrain, ctl::add_black_border});
        rig.draw(tab_mountain, item);
        int rock_pixels = 0;
        for (const auto& [x, y] : painted_pixels(rig.canvas())) {
            const Colour c = rig.canvas().pixel(x, y);
            ASSERT_TRUE(c == rock || c == shaded_rock || c == mountain_border_colour) << x << "," << y;
            rock_pixels += c != mountain_border_colour;
        }
        EXPECT_GT(rock_pixels, 0);
    }
}

TEST(MountainTile, BorderJoinsTheSilhouetteColumnByColumn) {
    for (int item : {0, 6, 16}) {
        SCOPED_TRACE(testing::Message() << "width item " << item);
        TileRig rig(31 + item);
        rig.state().ground_sheet.image = flat_ground_sheet();
        tick(rig, {ctl::no_terrain, ctl::add_black_border});
        rig.draw(tab_mountain, item);
        const std::vector<std::int16_t>& profile = rig.state().mountain_profile;
        PixelSet expected;
        for (int x = 0; x <= 400; ++x) {
            if (profile[x] == no_rock_in_column || profile[x + 1] == no_rock_in_column) continue;
            for (int y = std::min(profile[x], profile[x + 1]); y <= std::max(profile[x], profile[x + 1]); ++y)
                expected.insert({x, y});
        }
        PixelSet border;
        for (const auto& [x, y] : painted_pixels(rig.canvas()))
            if (rig.canvas().pixel(x, y) == mountain_border_colour) border.insert({x, y});
        EXPECT_FALSE(border.empty());
        EXPECT_EQ(border, expected);
    }
}

TEST(MountainTile, SilhouetteStaysOnTheCanvasAtEveryWidth) {
    for (int item = 0; item < 17; ++item) {
        TileRig rig(50 + item);
        tick(rig, {ctl::add_black_border});
        rig.draw(tab_mountain, item);
        const int h = rig.half_width();
        const std::vector<std::int16_t>& profile = rig.state().mountain_profile;
        for (int x = 0; x < static_cast<int>(profile.size()); ++x) {
            if (profile[x] == no_rock_in_column) continue;
            ASSERT_GE(x, 130 - h) << "width item " << item;
            ASSERT_LE(x, 130 + h) << "width item " << item;
            ASSERT_GE(profile[x], 0);
            ASSERT_LT(profile[x], 260);
        }
    }
}

TEST(MountainTile, AllSnowTurnsEveryRockSampleToSnow) {
    int checked = 0;
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        TileRig rig(seed);
        rig.state().ground_sheet.image = flat_ground_sheet();
        tick(rig, {ctl::all_snow, ctl::no_terrain});
        rig.draw(tab_mountain, 6);
        const float highest = highest_point(rig.state().height_field);
        if (highest < 50 / 5) continue;  // M >= D
        ++checked;
        int snow = 0;
        for (const auto& [x, y] : painted_pixels(rig.canvas())) {
            const Colour c = rig.canvas().pixel(x, y);
            ASSERT_TRUE(c == lit_snow || c == shaded_snow) << x << "," << y;
            ++snow;
        }
        EXPECT_GT(snow, 100);
    }
    EXPECT_GT(checked, 5);
}

TEST(MountainTile, SnowCapsOnlyTheUpperRock) {
    TileRig rig(8);
    rig.state().ground_sheet.image = flat_ground_sheet();
    tick(rig, {ctl::snow_covered_top, ctl::no_terrain});
    rig.draw(tab_mountain, 16);
    int snow = 0, bare = 0, snow_bottom = 0, rock_bottom = 0;
    for (const auto& [x, y] : painted_pixels(rig.canvas())) {
        const Colour c = rig.canvas().pixel(x, y);
        if (c == lit_snow || c == shaded_snow) {
            ++snow;
            snow_bottom = std::max(snow_bottom, y);
        } else {
            ++bare;
            rock_bottom = std::max(rock_bottom, y);
        }
    }
    EXPECT_GT(snow, 0);
    EXPECT_GT(bare, snow);
    EXPECT_LT(snow_bottom, rock_bottom);
}

TEST(MountainTile, TextureLocksAndTheSharedGroundTexture) {
    TileRig rig(12);
    rig.state().ground_texture = 15;
    rig.state().mountain_texture = 18;
    rig.controls().write(ctl::mountain_lock_ground_texture, 1);
    rig.controls().write(ctl::lock_mountain_texture, 1);
    rig.draw(tab_mountain, 6);
    EXPECT_EQ(rig.state().ground_texture, 15);
    EXPECT_EQ(rig.state().mountain_texture, 18);
    rig.controls().write(ctl::mountain_lock_ground_texture, 0);
    rig.controls().write(ctl::lock_mountain_texture, 0);
    std::set<int> grounds, rocks;
    for (int n = 0; n < 150; ++n) {
        rig.draw(tab_mountain, 0);
        grounds.insert(rig.state().ground_texture);
        rocks.insert(rig.state().mountain_texture);
    }
    EXPECT_EQ(grounds.size(), 20u);
    EXPECT_EQ(rocks.size(), 20u);
}

TEST(MountainTile, LockedShapeRedrawsTheSameFieldAndSameSeedSameTile) {
    TileRig rig(41);
    tick(rig, {ctl::snow_covered_top});
    rig.draw(tab_mountain, 8);
    const std::vector<float> first = rig.state().height_field;
    rig.controls().write(ctl::lock_current_shape, 1);
    rig.draw(tab_mountain, 8);
    EXPECT_EQ(rig.state().height_field, first);

    auto tile = [](std::uint64_t seed) {
        TileRig r(seed);
        tick(r, {ctl::snow_covered_top, ctl::add_black_border});
        r.draw(tab_mountain, 16);
        return summarise(r.canvas());
    };
    EXPECT_EQ(tile(5), tile(5));
    EXPECT_NE(tile(5), tile(6));
}
