// Ground-sheet row 5: ten waters. Two or three wrapped waves bent by noise
// make the bands; crests and cell-noise glints make the highlights.
#include "material.hpp"
#include "recipes.hpp"
#include "terrain_common.hpp"

#include <array>

namespace texgen {
namespace {

struct Wave {
    int a, b, period;  // crests along a*x + b*y, see tile_wave
    double weight;
};

struct WaterStyle {
    Col deep, shallow, crest;
    Wave w1, w2;
    double warp;      // how far noise bends the waves, in cycles
    double crest_at;  // wave height above which the crest colour shows
    int glints;       // cell-noise cells across for caustic glints; 0 for none
    double pads;      // share of cells with a lily pad or weed
    std::uint64_t seed;
};

const std::array<WaterStyle, 10> kWaters = {{
    {col(24, 56, 120),
     col(50, 100, 170),
     col(170, 210, 240),
     {1, 4, 64, 0.6},
     {-1, 2, 64, 0.4},
     0.5,
     0.75,
     0,
     0.0,
     1201},  // sea
    {col(30, 120, 140),
     col(80, 190, 190),
     col(200, 245, 240),
     {1, 2, 32, 0.5},
     {2, -1, 32, 0.5},
     0.3,
     0.7,
     5,
     0.0,
     1202},  // lagoon
    {col(30, 70, 80),
     col(60, 110, 110),
     col(150, 190, 190),
     {0, 2, 32, 0.7},
     {1, 1, 32, 0.3},
     0.6,
     0.8,
     0,
     0.0,
     1203},  // lake
    {col(70, 80, 50),
     col(110, 120, 76),
     col(170, 180, 140),
     {1, 3, 64, 0.6},
     {0, 1, 16, 0.4},
     0.8,
     0.8,
     0,
     0.0,
     1204},  // river
    {col(44, 60, 30),
     col(76, 96, 44),
     col(120, 140, 70),
     {1, 1, 32, 0.5},
     {1, -1, 32, 0.5},
     1.0,
     0.9,
     0,
     0.35,
     1205},  // swamp
    {col(16, 30, 70),
     col(36, 56, 110),
     col(110, 140, 200),
     {2, 5, 64, 0.6},
     {1, -3, 64, 0.4},
     0.4,
     0.8,
     0,
     0.0,
     1206},  // deep ocean
    {col(120, 160, 190),
     col(190, 220, 235),
     col(240, 250, 255),
     {1, 1, 32, 0.5},
     {1, -1, 16, 0.5},
     0.2,
     0.85,
     4,
     0.0,
     1207},  // ice floes
    {col(30, 80, 70),
     col(60, 120, 96),
     col(150, 200, 170),
     {0, 1, 16, 0.6},
     {1, 2, 32, 0.4},
     0.5,
     0.85,
     0,
     0.25,
     1208},  // pond, lilies
    {col(50, 100, 150),
     col(110, 160, 200),
     col(235, 245, 250),
     {0, 3, 32, 0.7},
     {1, 4, 64, 0.3},
     1.2,
     0.45,
     0,
     0.0,
     1209},  // rapids, foam
    {col(10, 110, 160),
     col(40, 170, 210),
     col(190, 240, 250),
     {1, 2, 64, 0.5},
     {-2, 1, 64, 0.5},
     0.4,
     0.7,
     6,
     0.0,
     1210},  // tropical
}};

}  // namespace

Rgb water_texel(int index, int x, int y) {
    const WaterStyle& s = kWaters[static_cast<std::size_t>(index)];
    double bend1 = tile_fbm(s.seed, x, y, 2, 3) * s.warp;
    double bend2 = tile_fbm(s.seed ^ 1, x, y, 2, 3) * s.warp;
    double h = s.w1.weight * tile_wave(x, y, s.w1.a, s.w1.b, s.w1.period, bend1) +
               s.w2.weight * tile_wave(x, y, s.w2.a, s.w2.b, s.w2.period, bend2);
    double depth = tile_fbm(s.seed ^ 2, x, y, 2, 2);
    double t = steps(clamp01(0.5 + 0.35 * h + (depth - 0.5) * 0.6), 5.0);
    Col c = mix(s.deep, s.shallow, t);
    if (h > s.crest_at) c = mix(c, s.crest, 0.75);
    else if (h > s.crest_at - 0.12) c = mix(c, s.crest, 0.3);
    if (s.glints > 0) {
        CellHit g = cell_noise(s.seed ^ 3, x + 0.5, y + 0.5, s.glints, s.glints, kCell, kCell, 0.9);
        if (g.f2 - g.f1 < 1.6) c = mix(c, s.crest, 0.55);
    }
    if (s.pads > 0.0) {
        CellHit p = cell_noise(s.seed ^ 4, x + 0.5, y + 0.5, 5, 5, kCell, kCell, 0.8);
        double r = 4.0 + 3.0 * sub_unit(p.id, 1);
        if (sub_unit(p.id, 2) < s.pads && p.f1 < r) {
            // A pad with a notch, lit on its upper side.
            bool notch = p.dx > 0.0 && p.dy < 0.0 && -p.dy < p.dx * 0.5;
            if (!notch) return ground_pixel(shade(col(70, 130, 50), p.dy > 0.0 ? 0.2 : -0.15));
        } else if (sub_unit(p.id, 2) < s.pads && p.f1 < r + 1.5) {
            return ground_pixel(shade(s.deep, -0.3));  // its shadow on the water
        }
    }
    return ground_pixel(c);
}

}  // namespace texgen
