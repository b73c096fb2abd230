#include "canvas/numbers.hpp"
#include "state/tile_setup.hpp"
#include "generator_test_support.hpp"
#include "generators/water/water_surface.hpp"

#include <map>
#include <optional>

namespace {
constexpr int cx = 130;
constexpr int cy = 180;

// A ground sheet whose water texels say where they come from: red follows the
// cell's x, green its y, blue the texture index. Nothing outside the water
// row, so a texel read from the wrong place paints black.
RasterImage coded_ground_sheet() {
    RasterImage sheet(640, 512);
    for (int y = 320; y < 384; ++y)
        for (int x = 0; x < 640; ++x)
            sheet.set_pixel(x, y, rgb(120 + 2 * (x % 64), 120 + 2 * (y % 64), 60 + 15 * (x / 64)));
    return sheet;
}

// The grid point that paints each pixel last, in the i-outer, j-inner order.
std::map<std::pair<int, int>, std::pair<int, int>> last_writers(int h) {
    std::map<std::pair<int, int>, std::pair<int, int>> writer;
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < h; ++j) {
            const int x = cx + i - j;
            const int y = cy - h / 2 + i / 2 + j / 2 + 1;
            writer[{x, y}] = {i, j};
            writer[{x + 1, y}] = {i, j};
        }
    return writer;
}

Colour texel(const RasterImage& sheet, int texture, int h, int i, int j) {
    const float s = 64.0f / static_cast<float>(h);
    return sheet.colour_at(nearest_to_int(64 * (texture % 10) + i * static_cast<double>(s)),
                           nearest_to_int(320 + 64 * (texture / 10) + j * static_cast<double>(s)));
}

// The shade q (0..49) that turns the texel into the pixel, if there is one.
std::optional<int> shade_between(Colour texel_colour, Colour pixel) {
    for (int q = 0; q < 50; ++q) {
        const double f = static_cast<float>(q / 100.0 + 0.5);
        if (pixel == rgb(nearest_to_int(red(texel_colour) * f), nearest_to_int(green(texel_colour) * f),
                         nearest_to_int(blue(texel_colour) * f)))
            return q;
    }
    return std::nullopt;
}

void lock_textures(TileRig& rig, int first, int second) {
    rig.state().water_texture_1 = first;
    rig.state().water_texture_2 = second;
    rig.controls().write(ctl::lock_water_texture_1, 1);
    rig.controls().write(ctl::lock_water_texture_2, 1);
}
}  // namespace

TEST(WaterTile, CoversExactlyTheDiamondAtEveryWidth) {
    for (int item = 0; item < 17; ++item) {
        SCOPED_TRACE(testing::Message() << "iso width " << 40 + 10 * item);
        TileRig rig(item + 1);
        rig.state().ground_sheet.image = coded_ground_sheet();
        rig.draw(tab_water, item);
        const int h = rig.half_width();
        PixelSet expected;
        for (const auto& [pixel, point] : last_writers(h)) expected.insert(pixel);
        const PixelSet water = painted_pixels(rig.canvas());
        EXPECT_EQ(water, expected);

        // Landmarks: the top row one below the top corner (odd H rounds the
        // half height down), the pair reaching one column past the right corner.
        EXPECT_EQ(water.begin()->first, cx - h + 1);
        EXPECT_EQ(water.rbegin()->first, cx + h);
        EXPECT_TRUE(water.count({cx + h, cy - h / 2 + (h - 1) / 2 + 1}));
        int top = cy;
        for (const auto& p : water) top = std::min(top, p.second);
        EXPECT_EQ(top, cy - h / 2 + 1);

        // With the tile area drawn, the outline shows only where the water
        // leaves it: the top corner and the upper-left edge.
        TileRig outlined(item + 1);
        outlined.state().ground_sheet.image = coded_ground_sheet();
        outlined.controls().write(ctl::draw_tile_area, 1);
        outlined.draw(tab_water, item);
        for (const auto& p : painted_pixels(outlined.canvas())) {
            if (expected.count(p)) continue;
            EXPECT_EQ(outlined.canvas().pixel(p.first, p.second), tile_area_colour);
        }
        EXPECT_EQ(outlined.canvas().pixel(cx, cy - h / 2), tile_area_colour);
        EXPECT_EQ(outlined.canvas().pixel(cx - h, cy), tile_area_colour);
    }
}

TEST(WaterTile, EveryPixelIsATexelOfOneTextureShadedBetweenHalfAndFull) {
    for (int item : {0, 1, 6, 15, 16}) {
        SCOPED_TRACE(testing::Message() << "iso width " << 40 + 10 * item);
        TileRig rig(100 + item);
        rig.state().ground_sheet.image = coded_ground_sheet();
        lock_textures(rig, 2, 7);
        rig.draw(tab_water, item);
        const AppState& state = rig.state();
        const int h = rig.half_width();
        int from_first = 0, points = 0, darkest = 49, brightest = 0;
        for (const auto& [pixel, point] : last_writers(h)) {
            const Colour c = rig.canvas().pixel(pixel.first, pixel.second);
            const auto [i, j] = point;
            std::optional<int> q = shade_between(texel(state.ground_sheet.image, state.water_texture_1, h, i, j), c);
            if (q) ++from_first;
            if (!q) q = shade_between(texel(state.ground_sheet.image, state.water_texture_2, h, i, j), c);
            ASSERT_TRUE(q) << "pixel " << pixel.first << "," << pixel.second << " is no shade of its texel";
            darkest = std::min(darkest, *q);
            brightest = std::max(brightest, *q);
            ++points;
        }
        if (item == 16) {
            // 49 in 100 points take the first texture; 20000 pixels keep the share close.
            EXPECT_NEAR(100.0 * from_first / points, 49.0, 3.0);
            EXPECT_EQ(darkest, 0);
            EXPECT_EQ(brightest, 49);
        }
    }
}

TEST(WaterTile, NoPixelIsBrighterThanItsTexelOnTheBuiltInSheet) {
    for (int item : {0, 3, 6, 16}) {
        SCOPED_TRACE(testing::Message() << "iso width " << 40 + 10 * item);
        TileRig rig(7 + item);
        rig.draw(tab_water, item);
        const AppState& state = rig.state();
        const int h = rig.half_width();
        for (const auto& [pixel, point] : last_writers(h)) {
            const Colour c = rig.canvas().pixel(pixel.first, pixel.second);
            const Colour a = texel(state.ground_sheet.image, state.water_texture_1, h, point.first, point.second);
            const Colour b = texel(state.ground_sheet.image, state.water_texture_2, h, point.first, point.second);
            ASSERT_LE(red(c), std::max(red(a), red(b)));
            ASSERT_LE(green(c), std::max(green(a), green(b)));
            ASSERT_LE(blue(c), std::max(blue(a), blue(b)));
        }
    }
}

TEST(WaterTile, LocksKeepTheirTexturesAndUnlockedOnesAreDrawn) {
    struct Case {
        bool lock_first, lock_second;
    };
    for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << "locks " << c.lock_first << c.lock_second);
        TileRig rig(5);
        rig.controls().write(ctl::lock_water_texture_1, c.lock_first);
        rig.controls().write(ctl::lock_water_texture_2, c.lock_second);
        rig.state().water_texture_1 = 17;  // outside what a draw gives
        rig.state().water_texture_2 = 18;
        std::set<int> firsts, seconds;
        for (int n = 0; n < 20; ++n) {
            // The first draw of the tile goes to the first unlocked texture.
            RandomSource expected = rig.app->random();
            const int next_draw = random_below(expected, 10);
            rig.draw(tab_water, 6);
            firsts.insert(rig.state().water_texture_1);
            seconds.insert(rig.state().water_texture_2);
            if (!c.lock_first) {
                EXPECT_EQ(rig.state().water_texture_1, next_draw);
            } else if (!c.lock_second) {
                EXPECT_EQ(rig.state().water_texture_2, next_draw);
            }
        }
        EXPECT_EQ(firsts.size() == 1, c.lock_first);
        EXPECT_EQ(firsts.count(17) == 1, c.lock_first);
        EXPECT_EQ(seconds.size() == 1, c.lock_second);
        EXPECT_EQ(seconds.count(18) == 1, c.lock_second);
        for (int t : firsts) EXPECT_TRUE(t == 17 || (t >= 0 && t < 10));
        for (int t : seconds) EXPECT_TRUE(t == 18 || (t >= 0 && t < 10));
    }
}

TEST(WaterTile, EqualLockedTexturesShowOneTexture) {
    TileRig rig(3);
    rig.state().ground_sheet.image = coded_ground_sheet();
    lock_textures(rig, 4, 4);
    rig.draw(tab_water, 6);
    std::set<int> blues;
    for (const auto& p : painted_pixels(rig.canvas())) {
        const Colour c = rig.canvas().pixel(p.first, p.second);
        // Blue carries the texture: 120 in cell 4, shaded to 60..119.
        ASSERT_GE(blue(c), 60);
        ASSERT_LE(blue(c), 119);
        blues.insert(blue(c));
    }
    EXPECT_GT(blues.size(), 40u) << "every point is shaded on its own";

    TileRig two(3);
    two.state().ground_sheet.image = coded_ground_sheet();
    lock_textures(two, 0, 9);
    two.draw(tab_water, 6);
    int dark_cell = 0, light_cell = 0;
    for (const auto& p : painted_pixels(two.canvas())) {
        const int b = blue(two.canvas().pixel(p.first, p.second));
        if (b <= 59) ++dark_cell;   // cell 0: blue 60, shaded 30..59
        if (b >= 98) ++light_cell;  // cell 9: blue 195, shaded 98..193
    }
    EXPECT_EQ(dark_cell + light_cell, static_cast<int>(painted_pixels(two.canvas()).size()));
    EXPECT_GT(dark_cell, 0);
    EXPECT_GT(light_cell, 0);
}

TEST(WaterTile, SameSeedSameTileAndAGoldenOne) {
    TileRig a(42), b(42), other(43);
    for (TileRig* rig : {&a, &b, &other}) {
        rig->state().ground_sheet.image = coded_ground_sheet();
        rig->draw(tab_water, 6);
    }
    EXPECT_EQ(a.canvas(), b.canvas());
    EXPECT_NE(a.canvas(), other.canvas());
    // Any change to the draws, the mapping or the shading moves the hash;
    // the other fields tell whether the extent or the amount changed too.
    const TileSummary golden{0x5cf77d179fc55dd2, 2500, 81, 156, 180, 204};
    EXPECT_EQ(summarise(a.canvas()), golden);
}
