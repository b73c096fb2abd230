// The built-in waters mix: a water tile takes each point from one of its two
// textures at random, so two textures of different lightness would turn to
// salt and pepper. Neighbour contrast is defined in water_mix_support.hpp.
#include "state/texture_cells.hpp"
#include "water_mix_support.hpp"

#include <cstdio>

namespace {
const char* const water_names[10] = {"sea",        "lagoon",    "lake",      "river",  "swamp",
                                     "deep ocean", "ice floes", "lily pond", "rapids", "tropical"};
}  // namespace

// For every pair of the ten built-in waters (the same texture twice
// included), the mixed tile's neighbour contrast is at most 1.25 times the
// mean of the two textures' own. Before the water row was redrawn the worst
// pairs were deep ocean with ice floes (2.10 at width 40, 2.82 at width 200)
// and lagoon with deep ocean (1.85, 2.51).
TEST(WaterMix, AnyTwoBuiltInWatersMixAsOneWater) {
    TileRig rig;
    for (const int width : {40, 64, 128, 200}) {
        SCOPED_TRACE(testing::Message() << "iso width " << width);
        // About 10,000 water pixels or more per measurement at every width.
        const int tiles = width <= 64 ? 12 : (width <= 128 ? 4 : 2);
        double alone[10];
        for (int a = 0; a < 10; ++a) alone[a] = water_mix_contrast(rig, a, a, width, tiles);
        double worst = 0;
        int worst_a = 0, worst_b = 0;
        for (int a = 0; a < 10; ++a)
            for (int b = a; b < 10; ++b) {
                const double ratio = water_mix_contrast(rig, a, b, width, tiles) / ((alone[a] + alone[b]) / 2);
                EXPECT_LE(ratio, 1.25) << water_names[a] << " with " << water_names[b];
                if (ratio > worst) {
                    worst = ratio;
                    worst_a = a;
                    worst_b = b;
                }
            }
        std::printf("width %d: own contrast", width);
        for (int a = 0; a < 10; ++a) std::printf(" %.3f", alone[a]);
        std::printf("; worst mix %.3f (%s with %s)\n", worst, water_names[worst_a], water_names[worst_b]);
    }
}

// Each water keeps to the shared tonal range: its mean luma on the sheet lies
// within 8 % of the mean over all ten.
TEST(WaterMix, EveryBuiltInWaterSharesOneTone) {
    TileRig rig;
    const RasterImage& sheet = rig.state().ground_sheet.image;
    double mean[10], all = 0;
    for (int a = 0; a < 10; ++a) {
        const SheetPoint cell = water_cell_origin(a);
        double sum = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) sum += luma(sheet.pixel(cell.x + x, cell.y + y));
        mean[a] = sum / (64 * 64);
        all += mean[a] / 10;
    }
    for (int a = 0; a < 10; ++a) EXPECT_NEAR(mean[a], all, 0.08 * all) << water_names[a];
}
