// Stand-in artwork with the right layout, replaced recipe by recipe.
#include "colour_math.hpp"
#include "recipes.hpp"

namespace texgen {
namespace {

Rgb checker(Col base, int index, int x, int y, int size) {
    int cx = ((x % size) + size) % size < size / 2;
    int cy = ((y % size) + size) % size < size / 2;
    double f = (cx ^ cy) ? 1.0 : 0.8;
    return to_rgb(base * (f * (0.7 + 0.03 * index)));
}

}  // namespace

Rgb grass_texel(int i, int x, int y) { return lift_dark(checker(col(60, 120, 30), i, x, y, 16), 20); }
Rgb ground_texel(int i, int x, int y) { return lift_dark(checker(col(150, 120, 80), i, x, y, 16), 20); }
Rgb water_texel(int i, int x, int y) { return lift_dark(checker(col(40, 80, 160), i, x, y, 16), 20); }
Rgb rock_texel(int i, int x, int y) { return lift_dark(checker(col(120, 115, 110), i, x, y, 16), 20); }

PixelImage paint_boulder(int i) {
    PixelImage img(64, 64);
    Rgb c = to_rgb(col(120, 115, 105) * (0.8 + 0.03 * i));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            int dx = 2 * x - 63, dy = 2 * y - 63;
            if (dx * dx + dy * dy < 60 * 60) img.set(x, y, c);
        }
    return img;
}

}  // namespace texgen
