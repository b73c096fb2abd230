// What the program relies on in the generated sheets: fixed colours, the
// black boulder background and the transparency key.
#include "sheet_layout.hpp"
#include "test_sheets.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace texgen;

namespace {

int brightest(Rgb c) { return std::max({int(c.r), int(c.g), int(c.b)}); }

// Darkening by 0.5 with halves to even, as the generators shade texels.
bool black_after_halving(Rgb c) {
    auto half = [](int v) { return static_cast<int>(std::nearbyint(v * 0.5)); };
    return half(c.r) == 0 && half(c.g) == 0 && half(c.b) == 0;
}

void expect_flat(const PixelImage& img, int x0, int y0, int size, Rgb c) {
    int wrong = 0;
    for (int y = y0; y < y0 + size; ++y)
        for (int x = x0; x < x0 + size; ++x)
            if (!(img.at(x, y) == c)) ++wrong;
    EXPECT_EQ(wrong, 0) << "cell at " << x0 << ", " << y0;
}

}  // namespace

TEST(GroundSheet, FlatGrassCellsHaveExactlyTheTenColours) {
    const Rgb expected[10] = {{1, 60, 0},  {9, 65, 0},  {17, 69, 0}, {31, 76, 0},  {44, 81, 0},
                              {60, 86, 0}, {65, 88, 0}, {76, 92, 0}, {118, 98, 2}, {94, 98, 0}};
    for (int i = 0; i < 10; ++i) expect_flat(generated_sheets().ground, i * 64, 128, 64, expected[i]);
}

TEST(GroundSheet, TexturesReadOnTheDiamondNeverTurnBlackWhenHalved) {
    const PixelImage& g = generated_sheets().ground;
    for (int y = kGrassRow * 64; y < 512; ++y)
        for (int x = 0; x < 640; ++x) ASSERT_FALSE(black_after_halving(g.at(x, y))) << x << ", " << y;
}

TEST(BoulderSheet, BottomRowIsFourFlatGrassSquares) {
    const PixelImage& b = generated_sheets().boulder;
    const Rgb light{94, 98, 0}, dark{17, 69, 0};
    expect_flat(b, 0, 192, 64, light);
    expect_flat(b, 64, 192, 64, dark);
    expect_flat(b, 128, 192, 64, light);
    expect_flat(b, 192, 192, 64, dark);
}

// Each boulder cell: pure black around it, no black hole inside it (the
// program treats black as transparent), a hard edge and most of the cell filled.
TEST(BoulderSheet, BouldersStandOnPureBlackWithNoBlackInside) {
    const PixelImage& b = generated_sheets().boulder;
    for (int k = 0; k < 12; ++k) {
        SCOPED_TRACE(k);
        const int x0 = (k % 4) * 64, y0 = (k / 4) * 64;
        // Flood the black background from the cell's border.
        std::vector<char> outside(64 * 64, 0);
        std::vector<int> stack;
        auto black = [&](int x, int y) { return b.at(x0 + x, y0 + y) == Rgb{}; };
        for (int i = 0; i < 64; ++i)
            for (int p : {i, 63 * 64 + i, i * 64, i * 64 + 63})
                if (black(p % 64, p / 64) && !outside[p]) outside[p] = 1, stack.push_back(p);
        while (!stack.empty()) {
            int p = stack.back();
            stack.pop_back();
            int x = p % 64, y = p / 64;
            const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
            for (int n = 0; n < 4; ++n) {
                if (nx[n] < 0 || ny[n] < 0 || nx[n] > 63 || ny[n] > 63) continue;
                int q = ny[n] * 64 + nx[n];
                if (!outside[q] && black(nx[n], ny[n])) outside[q] = 1, stack.push_back(q);
            }
        }
        int filled = 0, holes = 0, soft = 0;
        for (int p = 0; p < 64 * 64; ++p) {
            Rgb c = b.at(x0 + p % 64, y0 + p / 64);
            if (outside[p]) continue;
            if (c == Rgb{}) ++holes;
            else {
                ++filled;
                if (brightest(c) < 20) ++soft;
            }
        }
        EXPECT_EQ(holes, 0);
        EXPECT_EQ(soft, 0) << "near-black pixels make a dark halo when scaled";
        EXPECT_GT(filled, 64 * 64 * 35 / 100) << "a boulder should fill most of its cell";
        EXPECT_LT(filled, 64 * 64 * 95 / 100) << "a boulder needs black around it";
    }
}

TEST(BuildingSheet, HasNoAccidentalTransparencyKey) {
    const PixelImage& s = generated_sheets().building;
    int keys = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.at(x, y) == Rgb{255, 0, 255}) ++keys;
    EXPECT_EQ(keys, 0);
}

TEST(BuildingSheet, SpareMarginIsOneDocumentedColour) {
    const PixelImage& s = generated_sheets().building;
    int wrong = 0;
    for (int y = 0; y < 774; ++y)
        for (int x = 0; x < 776; ++x)
            if ((x >= 768 || y >= 768) && !(s.at(x, y) == kSpareColour)) ++wrong;
    EXPECT_EQ(wrong, 0);
}

// Back faces are shaded to half: a wall that goes too dark crushes to black.
TEST(BuildingSheet, WallsAndPlastersStayBrightEnoughToShadeByHalf) {
    const PixelImage& s = generated_sheets().building;
    for (int y = 0; y < 4 * 128; ++y)
        for (int x = 0; x < 768; ++x) ASSERT_GE(brightest(s.at(x, y)), 40) << x << ", " << y;
}
