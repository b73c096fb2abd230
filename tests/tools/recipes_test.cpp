// Properties of the recipes themselves: seamless tiling and distinct variants.
#include "iso_preview.hpp"
#include "recipe_table.hpp"
#include "recipes.hpp"
#include "test_sheets.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace texgen;

namespace {

// Mean colour of each 8 x 8 block: how a variant looks as a thumbnail.
std::vector<double> thumbnail(const std::vector<Rgb>& px, int size) {
    const int blocks = size / 8;
    std::vector<double> out(static_cast<std::size_t>(blocks * blocks * 3), 0.0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb c = px[static_cast<std::size_t>(y * size + x)];
            std::size_t i = static_cast<std::size_t>(((y / 8) * blocks + x / 8) * 3);
            out[i] += c.r / 64.0;
            out[i + 1] += c.g / 64.0;
            out[i + 2] += c.b / 64.0;
        }
    return out;
}

// Mean absolute difference of pixels and of thumbnails between two cells.
struct Difference {
    double pixels = 0.0;
    double thumbs = 0.0;
};

Difference difference(const std::vector<Rgb>& a, const std::vector<Rgb>& b, int size) {
    Difference d;
    for (std::size_t i = 0; i < a.size(); ++i)
        d.pixels += std::abs(a[i].r - b[i].r) + std::abs(a[i].g - b[i].g) + std::abs(a[i].b - b[i].b);
    d.pixels /= 3.0 * double(a.size());
    std::vector<double> ta = thumbnail(a, size), tb = thumbnail(b, size);
    for (std::size_t i = 0; i < ta.size(); ++i) d.thumbs += std::fabs(ta[i] - tb[i]);
    d.thumbs /= double(ta.size());
    return d;
}

std::vector<Rgb> cell_pixels(const PixelImage& img, int x0, int y0, int size) {
    std::vector<Rgb> out;
    out.reserve(static_cast<std::size_t>(size * size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) out.push_back(img.at(x0 + x, y0 + y));
    return out;
}

void expect_variants_differ(const std::vector<std::vector<Rgb>>& cells, int size, const char* row) {
    for (std::size_t a = 0; a < cells.size(); ++a)
        for (std::size_t b = a + 1; b < cells.size(); ++b) {
            Difference d = difference(cells[a], cells[b], size);
            EXPECT_GT(d.pixels, 12.0) << row << " " << a << " and " << b << " look alike";
            EXPECT_GT(d.thumbs, 4.0) << row << " " << a << " and " << b << " look alike as thumbnails";
        }
}

}  // namespace

// A tiling texture must match itself one period away in every direction, so
// that every feature (noise lattice, brick course, wave) divides the cell.
TEST(Recipes, TilingTexturesRepeatWithTheirCell) {
    for (const TilingRow& row : tiling_rows()) {
        const int p = row.period;
        for (int v = 0; v < row.count; ++v) {
            SCOPED_TRACE(std::string(row.name) + " " + std::to_string(v));
            int seams = 0;
            for (int y = 0; y < p; y += 3)
                for (int x = 0; x < p; x += 3) {
                    Rgb c = row.texel(v, x, y);
                    if (!(row.texel(v, x + p, y) == c) || !(row.texel(v, x, y + p) == c) ||
                        !(row.texel(v, x - p, y - p) == c))
                        ++seams;
                }
            EXPECT_EQ(seams, 0);
        }
    }
}

TEST(Recipes, VariantsOfEachTilingRowAreVisiblyDifferent) {
    for (const TilingRow& row : tiling_rows()) {
        std::vector<std::vector<Rgb>> cells;
        for (int v = 0; v < row.count; ++v) {
            std::vector<Rgb> px;
            for (int y = 0; y < row.period; ++y)
                for (int x = 0; x < row.period; ++x) px.push_back(row.texel(v, x, y));
            cells.push_back(std::move(px));
        }
        expect_variants_differ(cells, row.period, row.name);
    }
}

TEST(Recipes, DoorsWindowsAndBouldersAreVisiblyDifferent) {
    const SheetSet& s = generated_sheets();
    std::vector<std::vector<Rgb>> doors, windows, boulders;
    for (int i = 0; i < 10; ++i) {
        doors.push_back(cell_pixels(s.ground, i * 64, 0, 64));
        windows.push_back(cell_pixels(s.ground, i * 64, 64, 64));
    }
    for (int i = 0; i < 12; ++i) boulders.push_back(cell_pixels(s.boulder, (i % 4) * 64, (i / 4) * 64, 64));
    expect_variants_differ(doors, 64, "doors");
    expect_variants_differ(windows, 64, "windows");
    expect_variants_differ(boulders, 64, "boulders");
}

// Doors and windows are scaled down to 4..22 pixels wide: at 6 pixels they
// must still show a clear light and dark part, not a flat smear.
TEST(Recipes, DoorsAndWindowsKeepContrastWhenScaledDown) {
    const PixelImage& g = generated_sheets().ground;
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 10; ++i) {
            PixelImage small(6, 12);
            paste_opening(small, g, i * 64, row * 64, 0, 0, 6, row == 0 ? 12 : 6);
            int lo = 255 * 3, hi = 0;
            for (int y = 0; y < (row == 0 ? 12 : 6); ++y)
                for (int x = 0; x < 6; ++x) {
                    Rgb c = small.at(x, y);
                    int l = c.r + c.g + c.b;
                    lo = std::min(lo, l);
                    hi = std::max(hi, l);
                }
            EXPECT_GT(hi - lo, 150) << (row == 0 ? "door " : "window ") << i;
        }
}
