#include "generators/terrain/terrain_elements.hpp"
#include "terrain_test_support.hpp"

#include <memory>

using namespace terrain_test;

namespace {
// Element painters on a cleared canvas, with the tables filled and the
// sheets the test hands in.
struct Patch {
    explicit Patch(int half_width, std::uint64_t seed = 1)
        : state(std::make_unique<AppState>()),
          random(seed),
          h(half_width) {
        fill_fixed_tables(*state);
        state->canvas = RasterImage(260, 260);
        state->geometry.half_width = static_cast<std::int16_t>(half_width);
    }
    template <typename Paint>
    void paint(Paint&& painter) {
        DrawingContext dc(state->canvas);
        TerrainCanvas canvas{dc, *state, random, h};
        painter(canvas);
    }
    const RasterImage& canvas() const { return state->canvas; }

    std::unique_ptr<AppState> state;
    RandomSource random;
    int h;
};

// A boulder sheet that is black but for the given texel of every sprite.
RasterImage boulder_sheet_with_one_texel(int u, int v, Colour colour) {
    RasterImage sheet(256, 256);
    for (int k = 0; k < 12; ++k) sheet.set_pixel(64 * (k % 4) + u, 64 * (k / 4) + v, colour);
    return sheet;
}
}  // namespace

TEST(GrassBlade, LightStrokeDarkerLeftStrokeAndAnEarAboveTheTip) {
    // Find a seed whose blade stands upright (lean 0), then check its pixels.
    for (std::uint64_t seed = 1; seed < 50; ++seed) {
        Patch patch(50, seed);
        RandomSource probe(seed);
        random_below(probe, 60);
        if (random_below(probe, 3) - 1 != 0) continue;
        patch.paint([](TerrainCanvas& c) { draw_grass_blade(c, 10, 20, 6, rgb(20, 100, 10), true); });
        const CanvasPoint at = diamond_pixel(50, 10, 20);
        const Colour light = patch.canvas().pixel(at.x, at.y);
        EXPECT_EQ(red(light), 20);
        EXPECT_EQ(blue(light), 10);
        EXPECT_GE(green(light), 70);
        EXPECT_LE(green(light), 129);
        PixelSet expected;
        for (int y = at.y - 5; y <= at.y; ++y) {
            expected.insert({at.x, y});
            expected.insert({at.x - 1, y});
            EXPECT_EQ(patch.canvas().pixel(at.x, y), light);
            EXPECT_EQ(patch.canvas().pixel(at.x - 1, y), rgb(10, green(light) / 2, 5));
        }
        // The stroke leaves row Y - 6 empty; the ear takes the two rows above it.
        expected.insert({at.x, at.y - 7});
        expected.insert({at.x, at.y - 8});
        EXPECT_EQ(patch.canvas().pixel(at.x, at.y - 7), crop_ear_colour);
        EXPECT_EQ(patch.canvas().pixel(at.x, at.y - 8), crop_ear_colour);
        EXPECT_EQ(painted_pixels(patch.canvas()), expected);
        return;
    }
    FAIL() << "no upright blade in 50 seeds";
}

TEST(GrassBlade, GreenShiftedBelowZeroIsHeldAtZero) {
    // A black grass colour (locked before any reset) shifts green to -30..29.
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        Patch patch(50, seed);
        patch.paint([](TerrainCanvas& c) { draw_grass_blade(c, 20, 20, 8, 0, false); });
        for (const auto& [x, y] : painted_pixels(patch.canvas())) {
            const Colour c = patch.canvas().pixel(x, y);
            ASSERT_EQ(red(c), 0);
            ASSERT_EQ(blue(c), 0);
            ASSERT_LE(green(c), 29);
        }
    }
}

TEST(Bush, RadiusFollowsTheWidthAndTheFanLeavesTheLowerRightEmpty) {
    for (const auto& [h, low, high] : {std::tuple{20, 3, 5}, std::tuple{100, 16, 31}}) {
        int smallest = 1000, largest = 0;
        for (std::uint64_t seed = 1; seed <= 60; ++seed) {
            Patch patch(h, seed);
            patch.paint([](TerrainCanvas& c) { draw_bush(c, 10, 10, rgb(20, 100, 10)); });
            const CanvasPoint at = diamond_pixel(h, 10, 10);
            int reach = 0;
            for (const auto& [x, y] : painted_pixels(patch.canvas())) {
                ASSERT_LE(y, at.y + 1);  // strokes go up or flat, never down
                ASSERT_FALSE(x > at.x + 1 && y > at.y) << x << "," << y;
                reach = std::max(reach, at.y - y);
            }
            smallest = std::min(smallest, reach);
            largest = std::max(largest, reach);
        }
        EXPECT_GE(smallest, low - 1) << "H " << h;
        EXPECT_LE(largest, high) << "H " << h;
    }
}

TEST(Boulder, BlackTexelsCostNoDrawAndNoPaint) {
    Patch patch(50, 7);
    patch.state->boulder_sheet.image = boulder_sheet_with_one_texel(10, 20, rgb(100, 100, 100));
    const std::uint64_t before = patch.random.draw_count();
    patch.paint([](TerrainCanvas& c) { draw_boulder(c, 5, 30); });
    // Sprite, width, height and shade, then one noise draw for the one texel.
    EXPECT_EQ(patch.random.draw_count() - before, 5u);
    EXPECT_EQ(painted_pixels(patch.canvas()).size(), 1u);
}

TEST(Boulder, BrightTexelsWithNoiseAreHeldAtWhiteNotWrapped) {
    for (std::uint64_t seed = 1; seed <= 30; ++seed) {
        Patch patch(100, seed);
        RasterImage white(256, 256);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) white.set_pixel(x, y, rgb(255, 255, 255));
        patch.state->boulder_sheet.image = white;
        patch.paint([](TerrainCanvas& c) { draw_boulder(c, 20, 50); });
        const PixelSet pixels = painted_pixels(patch.canvas());
        ASSERT_FALSE(pixels.empty());
        for (const auto& [x, y] : pixels) {
            const Colour c = patch.canvas().pixel(x, y);
            ASSERT_TRUE(red(c) == green(c) && green(c) == blue(c)) << "seed " << seed << " at " << x << "," << y;
            ASSERT_GE(red(c), 127);  // 255 x 0.5, the darkest shade
        }
    }
}

TEST(Boulder, SpriteStandsOnItsCellScaledToTheTile) {
    // A solid sprite shows its extent: 64 x ax wide, 0.15..0.99 of H / 100.
    RasterImage solid(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) solid.set_pixel(x, y, rgb(90, 90, 90));
    double narrowest = 1000, widest = 0;
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        Patch patch(50, seed);
        patch.state->boulder_sheet.image = solid;
        patch.paint([](TerrainCanvas& c) { draw_boulder(c, 10, 25); });
        const TileSummary s = summarise(patch.canvas());
        const CanvasPoint at = diamond_pixel(50, 10, 25);
        ASSERT_EQ(s.left, at.x);
        ASSERT_GE(s.bottom, at.y + 5);
        ASSERT_LE(s.bottom, at.y + 7);
        narrowest = std::min<double>(narrowest, s.right - s.left + 1);
        widest = std::max<double>(widest, s.right - s.left + 1);
    }
    EXPECT_GE(narrowest, 4);  // 64 x 0.075
    EXPECT_LE(widest, 33);    // 64 x 0.495, plus the rounding
    EXPECT_GT(widest, 25);
}

TEST(PoolTexel, ThePlainTexelAsAPixelPair) {
    Patch patch(50);
    patch.state->ground_sheet.image = coded_ground_sheet();
    patch.state->terrain_water_texture = 3;
    patch.paint([](TerrainCanvas& c) { draw_pool_texel(c, 12, 7); });
    const CanvasPoint at = diamond_pixel(50, 12, 7);
    const Colour texel = diamond_texel(patch.state->ground_sheet.image, 192, 320, 12, 7, 64.0f / 50);
    EXPECT_EQ(patch.canvas().pixel(at.x, at.y), texel);
    EXPECT_EQ(patch.canvas().pixel(at.x + 1, at.y), texel);
    EXPECT_EQ(painted_pixels(patch.canvas()).size(), 2u);
}
