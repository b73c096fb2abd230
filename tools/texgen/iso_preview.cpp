#include "iso_preview.hpp"

#include "sheet_layout.hpp"

#include <cmath>

namespace texgen {

int nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

namespace {

Rgb scaled(Rgb p, double f) {
    auto c = [f](std::uint8_t v) { return static_cast<std::uint8_t>(nearest(v * f)); };
    return {c(p.r), c(p.g), c(p.b)};
}

}  // namespace

void paint_diamond(PixelImage& dst, const PixelImage& sheet, int tx, int ty, int h, int cx, int top, Pcg32& rng) {
    const float s = 64.0f / static_cast<float>(h);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < h; ++i) {
            Rgb t = sheet.at(nearest(tx + i * static_cast<double>(s)), nearest(ty + j * static_cast<double>(s)));
            float f = static_cast<float>(rng.below(50)) / 100.0f + 0.5f;
            Rgb c = scaled(t, f);
            if (c == Rgb{}) c = {10, 10, 10};
            int x = cx + i - j, y = top + i / 2 + j / 2 + 1;
            dst.plot(x, y, c);
            dst.plot(x + 1, y, c);
        }
    }
}

PixelImage cut_wall_image(const PixelImage& sheet, int tx, int ty, int l, int h, bool gable) {
    PixelImage wall(l, h);
    wall.blit(sheet, tx, ty, l, h, 0, 0);
    if (gable) {
        int g = l / 2;
        for (int x = 0; x < l; ++x) {
            int d = x < g ? g - x : x - g;  // rows lost grow towards both edges
            for (int y = 0; y < d && y < h; ++y) wall.set(x, y, kTransparentKey);
        }
    }
    return wall;
}

void paste_opening(PixelImage& wall, const PixelImage& sheet, int tx, int ty, int x, int y, int w, int h) {
    const float sx = 64.0f / static_cast<float>(w), sy = 64.0f / static_cast<float>(h);
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j)
            wall.plot(x + i, y + j,
                      sheet.at(nearest(tx + i * static_cast<double>(sx)), nearest(ty + j * static_cast<double>(sy))));
}

void project_wall(PixelImage& dst, const PixelImage& wall, int x0, int y0, double slope, double shade) {
    const int l = wall.width(), h = wall.height();
    for (int j = 0; j < 2 * h; ++j) {
        for (int i = 0; i < 2 * l; ++i) {
            Rgb p = wall.at(i / 2, j / 2);
            if (p == kTransparentKey) continue;
            int x = nearest(x0 + i * 0.4), y = nearest(y0 - h + (j / 2) + i * slope / 2.0);
            dst.plot(x, y, scaled(p, shade));
        }
    }
}

void paint_roof(PixelImage& dst, const PixelImage& sheet, int tx, int ty, int x1, int y1, int x2, int y2, int x3, int h,
                int overhang, int side) {
    const int a = x2 - x1, b = x3 - x2, e = overhang;
    int px, py, n, d;
    if (side == 0) {
        px = x1 - e + b / 2;
        py = y1 - h - b + e;
        n = (x3 - b / 2) - px;
        d = b;
    } else {
        px = x2 - a / 2;
        py = y2 - h - a + e;
        n = b + e / 2;
        d = a;
    }
    const double q = side == 0 ? 1.5 : 1.0;
    for (int i = 0; i <= d; ++i) {
        for (int j = 0; j <= n; ++j) {
            Rgb p = sheet.at(tx + j, ty + i);
            if (p == kTransparentKey) continue;
            int x = side == 0 ? px + j - i / 2 : px + j + i / 2;
            int y = side == 0 ? py + i + j / 2 : py + i - j / 2;
            Rgb k = side == 0 ? scaled(p, 1.0 / q) : p;
            dst.plot(x, y, k);
            dst.plot(x + 1, y, k);
        }
    }
}

}  // namespace texgen
