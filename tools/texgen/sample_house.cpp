#include "sample_house.hpp"

#include "iso_preview.hpp"

namespace texgen {
namespace {

struct Face {
    int x0, y0;
    double slope, shade;
    int l, h;
    bool gable;
};

}  // namespace

void paint_sample_house(PixelImage& dst, const PixelImage& building, const PixelImage& ground, const HouseLook& look,
                        int cx, int bottom, Pcg32& rng) {
    const int hw = look.half_width;
    paint_diamond(dst, ground, look.ground_x, look.ground_y, hw, cx, bottom - hw, rng);

    // Footprint corners, about 4 x 3 units of a 7-unit house size.
    const int size = hw * 8 / 5, unit = size / 7;
    const int a = size / 2, b = size * 2 / 5, h = look.wall_height;
    const int fx = cx, fy = bottom - hw / 8;
    const int lx = fx - a, ly = fy - a / 2, rx = fx + b;
    const int bx = fx + b - a, by = fy - a / 2 - b / 2;

    const int wx = (look.wall % 6) * 128, wy = (look.wall / 6) * 128;
    const int la = a * 5 / 4, lb = b * 5 / 4;
    const Face faces[4] = {
        {lx, ly, -0.4, 0.5, lb, h, false},
        {bx, by, 0.4, 0.5, la, h, false},
        {lx, ly, 0.4, 0.75, la, h + la / 2 > 128 ? 128 - la / 2 : h + la / 2, true},
        {fx, fy, -0.4, 1.0, lb, h + lb / 2 > 128 ? 128 - lb / 2 : h + lb / 2, true},
    };
    const int storey = unit * 5 / 2;
    for (int k = 0; k < 4; ++k) {
        const Face& f = faces[k];
        PixelImage wall = cut_wall_image(building, wx, wy, f.l, f.h, f.gable);
        const int top = f.h - storey;
        for (int r = 0; r * storey <= top; ++r) {
            const int y = top - r * storey + f.l / 10;
            for (int p = 0; p < 2; ++p) {
                const int x = p == 0 ? f.l * 15 / 100 : f.l * 65 / 100;
                const bool door = r == 0 && p == (k % 2);
                if (door) paste_opening(wall, ground, look.door * 64, 0, x, y, unit, 2 * unit);
                else if (r * storey - f.l / 10 < top)
                    paste_opening(wall, ground, look.window * 64, 64, x, y, unit, unit);
            }
        }
        project_wall(dst, wall, f.x0, f.y0, f.slope, f.shade);
    }
    const int cell = 24 + look.roof;
    paint_roof(dst, building, (cell % 6) * 128, (cell / 6) * 128, lx, ly, fx, fy, rx, h, size / 20, look.side);
}

void paint_boulder_sprite(PixelImage& dst, const PixelImage& boulders, int index, int x0, int y_bottom, double ax,
                          double ay, double f, Pcg32& rng) {
    const int sx = 64 * (index % 4), sy = 64 * (index / 4);
    const int y0 = nearest(y_bottom - 64 * ay);
    for (int v = 0; v < 64; ++v)
        for (int u = 0; u < 64; ++u) {
            Rgb tc = boulders.at(sx + u, sy + v);
            if (tc == Rgb{}) continue;
            int n = rng.below(40);
            auto ch = [&](int c) {
                int val = nearest(c * f + n);
                return static_cast<std::uint8_t>(val > 255 ? 255 : val);
            };
            dst.plot(x0 + nearest(u * ax), y0 + nearest(v * ay), {ch(tc.r), ch(tc.g), ch(tc.b)});
        }
}

}  // namespace texgen
