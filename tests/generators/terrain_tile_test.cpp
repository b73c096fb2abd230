#include "state/tile_setup.hpp"
#include "generators/terrain/terrain.hpp"
#include "generators/terrain/terrain_elements.hpp"
#include "generators/terrain/terrain_pass.hpp"
#include "terrain_test_support.hpp"

#include <algorithm>

using namespace terrain_test;

namespace {
constexpr int cx = 130;

bool pool_cell(const AppState& s, int i, int j) { return terrain_cell(s, i, j) == cell_pool; }

// Each ground pixel with the grid point that paints it last (i outer, j inner).
Writers ground_writers(int h) {
    Writers writer;
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < h; ++j) {
            const CanvasPoint at = diamond_pixel(h, i, j);
            writer[{at.x, at.y}] = {i, j};
            writer[{at.x + 1, at.y}] = {i, j};
        }
    return writer;
}

PixelSet ground_pixels(int h) {
    PixelSet pixels;
    for (const auto& [pixel, ij] : ground_writers(h)) pixels.insert(pixel);
    return pixels;
}

int count_cells(const AppState& state, TerrainCell what) {
    return static_cast<int>(std::count(state.grass_mask.begin(), state.grass_mask.end(), what));
}
}  // namespace

TEST(TerrainTile, BareGroundIsExactlyTheDiamondWithNoBlackHoleAndNoOutline) {
    for (int item = 0; item < 17; ++item) {
        SCOPED_TRACE(testing::Message() << "iso width " << 40 + 10 * item);
        TileRig rig(item + 11);
        rig.controls().write(ctl::draw_tile_area, 1);
        // A black ground cell: every shaded texel comes out black and must be
        // lifted to the darkest ground colour.
        rig.state().ground_sheet.image = RasterImage(640, 512);
        rig.draw(tab_terrain, item);
        const int h = rig.half_width();
        EXPECT_EQ(painted_pixels(rig.canvas()), ground_pixels(h));
        for (const auto& [x, y] : ground_pixels(h))
            ASSERT_EQ(rig.canvas().pixel(x, y), darkest_ground) << x << "," << y;
        // The outline's left corner lies outside the ground: still black.
        EXPECT_EQ(rig.canvas().pixel(cx - h, 180), 0);
    }
}

TEST(TerrainTile, GroundTexelsAreShadedCopiesOfTheGroundCell) {
    TileRig rig(5);
    rig.state().ground_sheet.image = coded_ground_sheet();
    rig.state().ground_texture = 13;
    rig.controls().write(ctl::terrain_lock_ground_texture, 1);
    rig.draw(tab_terrain, 6);
    const int h = rig.half_width();
    const float step = 64.0f / h;
    const SheetPoint cell = ground_cell_origin(13);
    int darker = 0;
    for (const auto& [pixel, ij] : ground_writers(h)) {
        const Colour texel = diamond_texel(rig.state().ground_sheet.image, cell.x, cell.y, ij.first, ij.second, step);
        const auto q = shade_between(texel, rig.canvas().pixel(pixel.first, pixel.second));
        ASSERT_TRUE(q.has_value()) << ij.first << "," << ij.second;
        darker += *q < 49;
    }
    EXPECT_GT(darker, 0);
}

TEST(TerrainTile, TextureLocksKeepTheirValuesAndAnUnlockedColourIsReset) {
    TileRig rig(9);
    tick_only(rig, {ctl::grass});
    rig.state().ground_texture = 17;
    rig.state().terrain_water_texture = 8;
    rig.state().grass_colour = rgb(1, 2, 3);
    for (int box : {ctl::terrain_lock_ground_texture, ctl::lock_terrain_water_texture, ctl::lock_colour_texture})
        rig.controls().write(box, 1);
    rig.draw(tab_terrain, 6);
    EXPECT_EQ(rig.state().ground_texture, 17);
    EXPECT_EQ(rig.state().terrain_water_texture, 8);
    EXPECT_EQ(rig.state().grass_colour, rgb(1, 2, 3));

    for (int box : {ctl::terrain_lock_ground_texture, ctl::lock_terrain_water_texture, ctl::lock_colour_texture})
        rig.controls().write(box, 0);
    std::set<int> grounds, waters;
    for (int n = 0; n < 200; ++n) {
        rig.draw(tab_terrain, 0);
        grounds.insert(rig.state().ground_texture);
        waters.insert(rig.state().terrain_water_texture);
        ASSERT_EQ(rig.state().grass_colour, rgb(20, 100, 10));
    }
    EXPECT_EQ(grounds.size(), 20u);
    EXPECT_EQ(*grounds.rbegin(), 19);
    EXPECT_EQ(waters.size(), 10u);
    EXPECT_EQ(*waters.rbegin(), 9);
}

TEST(TerrainLayout, PoolStaysInsideItsMarginAtEveryWidth) {
    for (int item = 0; item < 17; ++item) {
        SCOPED_TRACE(testing::Message() << "iso width " << 40 + 10 * item);
        for (int seed = 1; seed <= 5; ++seed) {
            TileRig rig(seed * 100 + item);
            tick_only(rig, {ctl::pool});
            rig.draw(tab_terrain, item);
            const int h = rig.half_width();
            const int low = pool_margin(h) - 3, high = h - pool_margin(h) + 3;
            int cells = 0;
            for (int i = 0; i < grass_mask_side; ++i)
                for (int j = 0; j < grass_mask_side; ++j) {
                    if (terrain_cell(rig.state(), i, j) != cell_pool) continue;
                    ++cells;
                    ASSERT_TRUE(i >= low && i <= high && j >= low && j <= high) << i << "," << j;
                }
            EXPECT_GE(cells, 49);
        }
    }
}

TEST(TerrainLayout, GrassFollowsTheDensityAndGivesWayToThePool) {
    TileRig rig(21);
    tick_only(rig, {ctl::grass});
    rig.controls().write(ctl::lock_density, 1);
    rig.controls().write(ctl::grass_density, 0);
    rig.draw(tab_terrain, 6);
    EXPECT_EQ(count_cells(rig.state(), cell_grass), 0);

    // 50 x 14 seeds on 2,500 cells: those landing on earlier grass are lost.
    rig.controls().write(ctl::grass_density, 14);
    rig.draw(tab_terrain, 6);
    const int alone = count_cells(rig.state(), cell_grass);
    EXPECT_GT(alone, 550);
    EXPECT_LE(alone, 700);

    // With a pool, the seeds that fall on its water are lost too.
    tick_only(rig, {ctl::grass, ctl::pool});
    rig.draw(tab_terrain, 6);
    const int pool = count_cells(rig.state(), cell_pool);
    const int beside_pool = count_cells(rig.state(), cell_grass);
    EXPECT_GT(pool, 49);
    EXPECT_LT(beside_pool, alone);
    EXPECT_GT(beside_pool, 0);
}

TEST(TerrainLayout, BoulderReachUsesTheConstantJustAboveSevenTenths) {
    // At H = 35, nearest(35 x 0.7) would be 24 with the plain double; the
    // placements reach 25 columns, so i goes up to 24.
    TileRig rig(33);
    tick_only(rig, {ctl::boulder});
    rig.controls().write(ctl::boulder_quantity, 10);
    int widest = 0, deepest = 0;
    for (int n = 0; n < 300; ++n) {
        rig.draw(tab_terrain, 3);
        ASSERT_LE(count_cells(rig.state(), cell_boulder), 10);
        for (int i = 0; i < grass_mask_side; ++i)
            for (int j = 0; j < grass_mask_side; ++j)
                if (terrain_cell(rig.state(), i, j) == cell_boulder) {
                    widest = std::max(widest, i);
                    deepest = std::max(deepest, j);
                    ASSERT_GE(j, 14);  // nearest(0 + 0.4 x 35)
                }
    }
    EXPECT_EQ(widest, 24);
    EXPECT_EQ(deepest, 38);  // nearest(24 + 14)
}

TEST(TerrainPass, CellsBeyondTheGridAreNeverPainted) {
    TileRig rig(3);
    rig.draw(tab_terrain, 6);  // geometry for width 100
    const int h = rig.half_width();
    AppState& state = rig.state();
    std::fill(state.grass_mask.begin(), state.grass_mask.end(), cell_empty);
    state.canvas = RasterImage(260, 260);
    terrain_cell(state, 0, h + 1) = cell_boulder;
    terrain_cell(state, h + 1, 0) = cell_bush;
    terrain_cell(state, h + 5, h + 5) = cell_tree;
    TileContext context = rig.app->context();
    DrawingContext dc(state.canvas);
    const std::uint64_t before = rig.app->random().draw_count();
    paint_terrain_elements(context, dc, h, {5, false});
    EXPECT_EQ(rig.app->random().draw_count(), before);
    EXPECT_TRUE(painted_pixels(state.canvas).empty());

    terrain_cell(state, h, h) = cell_boulder;  // the last cell of the pass is painted
    paint_terrain_elements(context, dc, h, {5, false});
    EXPECT_FALSE(painted_pixels(state.canvas).empty());
}

TEST(TerrainTile, PoolPixelsAreTheirOwnWaterTexelsUnshadedAtEveryWidth) {
    for (int item = 0; item < 17; ++item) {
        SCOPED_TRACE(testing::Message() << "iso width " << 40 + 10 * item);
        TileRig rig(40 + item);
        rig.state().ground_sheet.image = coded_ground_sheet();
        tick_only(rig, {ctl::pool, ctl::swamp});
        // The last water cell of its row: a sample past it would fall off the sheet.
        rig.state().terrain_water_texture = 9;
        rig.controls().write(ctl::lock_terrain_water_texture, 1);
        rig.draw(tab_terrain, item);
        const int h = rig.half_width();
        const SheetPoint cell = water_cell_origin(9);
        const float step = 64.0f / h;
        const Writers pool = element_pass_writers(h, pool_cell, rig.state());
        ASSERT_FALSE(pool.empty());
        for (const auto& [pixel, ij] : pool) {
            const Colour got = rig.canvas().pixel(pixel.first, pixel.second);
            // Inside the cell the written texel, past it the cell's first texels.
            const int tx = nearest_to_int(cell.x + ij.first * static_cast<double>(step)) % 64;
            const int ty = nearest_to_int(cell.y + ij.second * static_cast<double>(step)) % 64;
            ASSERT_EQ(got, rig.state().ground_sheet.image.pixel(cell.x + tx, cell.y + ty))
                << "cell " << ij.first << "," << ij.second;
        }
        // Around the pool the swamp's points are shaded ground or shaded water.
        const RasterImage& sheet = rig.state().ground_sheet.image;
        const SheetPoint ground = ground_cell_origin(rig.state().ground_texture);
        int wet = 0, dry = 0;
        for (const auto& [pixel, ij] : ground_writers(h)) {
            if (pool.count(pixel)) continue;
            const Colour got = rig.canvas().pixel(pixel.first, pixel.second);
            const bool as_water =
                shade_between(diamond_texel(sheet, cell.x, cell.y, ij.first, ij.second, step), got).has_value();
            const bool as_ground =
                shade_between(diamond_texel(sheet, ground.x, ground.y, ij.first, ij.second, step), got).has_value();
            ASSERT_TRUE(as_water || as_ground) << ij.first << "," << ij.second;
            wet += as_water;
            dry += as_ground;
        }
        EXPECT_GT(wet, dry);  // about 69 points in 100 take water
        EXPECT_GT(dry, 0);
    }
}

TEST(TerrainTile, SameSeedSameTile) {
    auto draw_all = [](std::uint64_t seed) {
        TileRig rig(seed);
        tick_only(rig, {ctl::grass, ctl::boulder, ctl::bush, ctl::terrain_tree, ctl::pool, ctl::swamp});
        rig.controls().write(ctl::lock_density, 0);
        rig.draw(tab_terrain, 16);
        return summarise(rig.canvas());
    };
    EXPECT_EQ(draw_all(77), draw_all(77));
    EXPECT_NE(draw_all(77), draw_all(78));
}

TEST(TerrainTile, CropsStandAFifthOfTheHalfWidthWhateverTheHeightControls) {
    for (const int item : {6, 16}) {
        TileRig rig(61);
        RasterImage grey(640, 512);
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 640; ++x) grey.set_pixel(x, y, rgb(90, 90, 90));
        rig.state().ground_sheet.image = grey;
        tick_only(rig, {ctl::grass, ctl::make_crops});
        rig.controls().write(ctl::lock_grass_height, 1);
        rig.controls().write(ctl::grass_height, 16);
        rig.draw(tab_terrain, item);
        const int h = rig.half_width();
        PixelSet ears;
        for (int j = 0; j <= h; ++j)
            for (int i = 0; i <= h; ++i)
                if (terrain_cell(rig.state(), i, j) == cell_grass) {
                    const CanvasPoint at = diamond_pixel(h, i, j);
                    ears.insert({at.x, at.y - h / 5 - 1});
                    ears.insert({at.x, at.y - h / 5 - 2});
                }
        int seen = 0;
        for (const auto& pixel : painted_pixels(rig.canvas())) {
            if (rig.canvas().pixel(pixel.first, pixel.second) != crop_ear_colour) continue;
            ++seen;
            ASSERT_TRUE(ears.count(pixel)) << "an ear at " << pixel.first << "," << pixel.second;
        }
        EXPECT_GT(seen, 20);
    }
}

TEST(TerrainTile, MakeCropsDoesNotChangeTheRandomDraws) {
    auto draws_with = [](bool crops) {
        TileRig rig(71);
        tick_only(rig, {ctl::grass, ctl::boulder, ctl::bush});
        rig.controls().write(ctl::make_crops, crops);
        rig.draw(tab_terrain, 6);
        return std::pair{rig.app->random().draw_count(), rig.state().grass_mask};
    };
    EXPECT_EQ(draws_with(true), draws_with(false));
}
