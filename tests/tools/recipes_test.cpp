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
