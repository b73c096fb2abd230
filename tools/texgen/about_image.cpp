#include "hash_random.hpp"
#include "iso_preview.hpp"
#include "sheet_layout.hpp"
#include "sheets.hpp"

namespace texgen {
namespace {

// The sample house: which cells it wears.
constexpr int kAboutWall = 1;     // building-sheet cell
constexpr int kAboutRoof = 0;     // roof index (building-sheet cell 24 + index)
constexpr int kAboutGrass = 3;    // ground-sheet row 3 column
constexpr int kAboutDoor = 0;
constexpr int kAboutWindow = 1;

struct Face {
    int x0, y0;
    double slope, shade;
    int l, h;
    bool gable;
};

}  // namespace

PixelImage make_about_image(const PixelImage& building, const PixelImage& ground) {
    PixelImage img(kAboutWidth, kAboutHeight);
    Pcg32 rng(0xAB07u);

    // Ground: a diamond 100 wide around the picture's bottom.
    const int cx = 70, top = 80, half = 50;
    paint_diamond(img, ground, kAboutGrass * 64, kGrassRow * 64, half, cx, top, rng);

    // Footprint: left, front, right and back corners of a 40 x 32 house.
    const int a = 40, b = 32, wall_h = 36, unit = 11;
    const int fx = 70, fy = 124;
    const int lx = fx - a, ly = fy - a / 2, rx = fx + b, ry = fy - b / 2;
    const int bx = fx + b - a, by = fy - a / 2 - b / 2;
    (void)ry;

    const int wx = (kAboutWall % 6) * 128, wy = (kAboutWall / 6) * 128;
    const Face faces[4] = {
        {lx, ly, -0.4, 0.5, b * 5 / 4, wall_h, false},           // left back
        {bx, by, 0.4, 0.5, a * 5 / 4, wall_h, false},            // right back
        {lx, ly, 0.4, 0.75, a * 5 / 4, wall_h + a * 5 / 8, true},  // left front
        {fx, fy, -0.4, 1.0, b * 5 / 4, wall_h + b * 5 / 8, true},  // right front
    };
    for (int k = 0; k < 4; ++k) {
        const Face& f = faces[k];
        PixelImage wall = cut_wall_image(building, wx, wy, f.l, f.h, f.gable);
        if (k >= 2) {
            const int storey = 28, base = f.h - storey + f.l / 10;
            if (k == 2) {
                paste_opening(wall, ground, kAboutDoor * 64, 0, f.l * 15 / 100, base, unit, 2 * unit);
                paste_opening(wall, ground, kAboutWindow * 64, 64, f.l * 65 / 100, base, unit, unit);
            } else {
                paste_opening(wall, ground, kAboutWindow * 64, 64, f.l * 15 / 100, base, unit, unit);
                paste_opening(wall, ground, kAboutWindow * 64, 64, f.l * 65 / 100, base, unit, unit);
            }
        }
        project_wall(img, wall, f.x0, f.y0, f.slope, f.shade);
    }

    const int roof_cell = 24 + kAboutRoof;
    paint_roof(img, building, (roof_cell % 6) * 128, (roof_cell / 6) * 128, lx, ly, fx, fy, rx,
               wall_h, 4, 1);
    return img;
}

}  // namespace texgen
