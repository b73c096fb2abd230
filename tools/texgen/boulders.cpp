// Boulder-sheet rows 0..2: twelve boulders on pure black (black is
// transparent to the terrain painter). Hard silhouettes, no black inside.
#include "det_math.hpp"
#include "material.hpp"
#include "noise.hpp"
#include "recipes.hpp"

#include <array>
#include <cmath>

namespace texgen {
namespace {

struct BoulderStyle {
    Col colour;
    int lobes;      // 3..6 bumps round the outline
    double rough;   // outline amplitude
    double radius;  // in pixels, before squash
    double squash;  // height / width
    double moss;    // 0..1 share of the upward faces
    double cracks;  // 0..1 how many cracks show
    bool angular;   // flat facets instead of a smooth dome
    std::uint64_t seed;
};

const std::array<BoulderStyle, 12> kBoulders = {{
    {col(150, 146, 138), 4, 0.10, 30, 0.80, 0.0, 0.4, false, 1401},  // grey granite
    {col(176, 140, 96), 5, 0.08, 30, 0.70, 0.0, 0.3, false, 1402},   // sandstone
    {col(92, 92, 100), 3, 0.12, 29, 0.90, 0.0, 0.2, true, 1403},     // basalt block
    {col(134, 132, 120), 5, 0.10, 30, 0.75, 0.5, 0.3, false, 1404},  // mossy
    {col(168, 104, 80), 4, 0.14, 28, 0.85, 0.0, 0.5, true, 1405},    // red rock
    {col(214, 210, 198), 6, 0.07, 30, 0.65, 0.0, 0.6, false, 1406},  // limestone
    {col(110, 120, 136), 3, 0.10, 30, 0.60, 0.0, 0.3, true, 1407},   // slate slab
    {col(128, 104, 80), 5, 0.12, 27, 0.95, 0.2, 0.2, false, 1408},   // brown
    {col(160, 156, 150), 6, 0.16, 30, 0.80, 0.0, 0.7, true, 1409},   // shattered
    {col(150, 136, 108), 3, 0.09, 26, 1.0, 0.45, 0.1, false, 1410},  // tall, moss-capped
    {col(196, 178, 150), 3, 0.06, 31, 0.55, 0.0, 0.2, false, 1411},  // flat pale slab
    {col(76, 72, 70), 5, 0.13, 28, 0.92, 0.3, 0.4, true, 1412},      // dark with lichen
}};

// Outline radius at angle a: a few lobes with hashed phases.
double outline(const BoulderStyle& s, double a) {
    double p1 = kTwoPi * sub_unit(s.seed, 1), p2 = kTwoPi * sub_unit(s.seed, 2);
    double n = 0.65 * det_sin(s.lobes * a + p1) + 0.35 * det_sin((s.lobes + 2) * a + p2);
    return s.radius * (1.0 + s.rough * n);
}

}  // namespace

PixelImage paint_boulder(int index) {
    const BoulderStyle& s = kBoulders[static_cast<std::size_t>(index)];
    PixelImage img(64, 64);
    const double cx = 32.0, base = 62.0;
    const double ry = s.radius * s.squash;
    const double cy = base - ry * 0.92;              // resting on the cell's foot, slightly flattened
    const double lx = -0.55, ly = -0.65, lz = 0.52;  // light from the top left, in front
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            double dx = x + 0.5 - cx, dy = (y + 0.5 - cy) / s.squash;
            if (y + 0.5 > base) continue;  // flat foot
            double r = std::sqrt(dx * dx + dy * dy);
            double rim = outline(s, det_atan2(dy, dx));
            if (r >= rim) continue;
            double nx = dx / rim, ny = dy / rim;
            if (s.angular) {
                // Facets: every cell of a coarse cell noise takes one normal.
                CellHit f = cell_noise(s.seed, x + 0.5, y + 0.5, 5, 5, 64, 64, 0.9);
                double fx = x + 0.5 + f.dx - cx, fy = (y + 0.5 + f.dy - cy) / s.squash;
                nx = 0.5 * nx + 0.5 * fx / rim;
                ny = 0.5 * ny + 0.5 * fy / rim;
            }
            double nn = nx * nx + ny * ny;
            double nz = nn < 1.0 ? std::sqrt(1.0 - nn) : 0.0;
            double diffuse = nx * lx + ny * ly + nz * lz;
            double light = -0.55 + 0.95 * (diffuse < 0.0 ? 0.0 : diffuse);
            light += (fbm(s.seed ^ 3, x + 0.5, y + 0.5, 8, 8, 64, 64, 2) - 0.5) * 0.35;
            if (y + 0.5 > base - 5.0) light -= 0.25;       // its own shadow at the foot
            if (r > rim - 1.6 && ny > -0.3) light -= 0.2;  // dark lower rim: a hard edge
            Col c = s.colour;
            // Cracks: ridges of a cell noise, only where a mask allows.
            CellHit k = cell_noise(s.seed ^ 5, x + 0.5, y + 0.5, 3, 3, 64, 64, 0.9);
            double mask = value_noise(s.seed ^ 6, x + 0.5, y + 0.5, 4, 4, 64, 64);
            if (k.f2 - k.f1 < 1.3 && mask < s.cracks) light = -0.65;
            else if (k.f2 - k.f1 < 2.4 && mask < s.cracks && k.dy > 0) light += 0.2;
            if (s.moss > 0.0 && ny < 0.1) {
                double m = fbm(s.seed ^ 7, x + 0.5, y + 0.5, 4, 4, 64, 64, 3) - 0.6 * ny;
                if (m > 1.05 - s.moss) c = mix(c, col(92, 128, 48), 0.85);
            }
            light = std::floor(light * 6.0 + 0.5) / 6.0;
            img.set(x, y, lift_dark(to_rgb(shade(c, light)), 28));
        }
    return img;
}

}  // namespace texgen
