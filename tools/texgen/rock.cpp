// Ground-sheet rows 6 and 7: twenty rocks and earths for mountains.
#include "material.hpp"
#include "recipes.hpp"
#include "terrain_common.hpp"

#include <array>
#include <cmath>

namespace texgen {
namespace {

enum class RockKind { Strata, Granite, Cliff, Scree, Basalt, Earth, Marble };

struct RockStyle {
    RockKind kind;
    Col a, b;     // main and second colour
    int scale;    // bands, grains, stones or cracks across the tile
    double moss;  // 0..1 share of moss
    double snow;  // 0..1 share of snow
    std::uint64_t seed;
};

const std::array<RockStyle, 20> kRocks = {{
    {RockKind::Strata, col(130, 126, 120), col(98, 94, 90), 8, 0.0, 0.0, 1301},     // grey strata
    {RockKind::Strata, col(176, 96, 64), col(140, 70, 50), 8, 0.0, 0.0, 1302},      // red sandstone
    {RockKind::Granite, col(178, 150, 140), col(70, 66, 66), 10, 0.0, 0.0, 1303},   // pink granite
    {RockKind::Cliff, col(120, 118, 116), col(80, 78, 80), 16, 0.0, 0.0, 1304},     // grey cliff
    {RockKind::Scree, col(140, 136, 128), col(70, 66, 62), 7, 0.0, 0.0, 1305},      // scree
    {RockKind::Basalt, col(74, 76, 84), col(44, 44, 50), 5, 0.0, 0.0, 1306},        // basalt columns
    {RockKind::Cliff, col(112, 112, 104), col(76, 76, 70), 8, 0.45, 0.0, 1307},     // mossy rock
    {RockKind::Scree, col(130, 128, 126), col(66, 64, 64), 5, 0.0, 0.45, 1308},     // snowy scree
    {RockKind::Strata, col(208, 204, 190), col(168, 164, 150), 4, 0.0, 0.0, 1309},  // limestone
    {RockKind::Cliff, col(84, 92, 106), col(56, 62, 74), 16, 0.0, 0.0, 1310},       // dark slate
    {RockKind::Earth, col(178, 138, 70), col(140, 100, 50), 4, 0.0, 0.0, 1311},     // ochre earth
    {RockKind::Earth, col(120, 84, 54), col(86, 60, 40), 8, 0.15, 0.0, 1312},       // brown earth
    {RockKind::Earth, col(160, 72, 44), col(120, 52, 34), 4, 0.0, 0.0, 1313},       // red earth
    {RockKind::Earth, col(150, 146, 130), col(116, 112, 100), 8, 0.0, 0.0, 1314},   // grey clay
    {RockKind::Granite, col(64, 60, 62), col(150, 60, 40), 8, 0.0, 0.0, 1315},      // volcanic
    {RockKind::Marble, col(222, 220, 214), col(140, 140, 150), 3, 0.0, 0.0, 1316},  // marble
    {RockKind::Cliff, col(200, 170, 110), col(160, 126, 80), 8, 0.0, 0.0, 1317},    // yellow sandstone
    {RockKind::Scree, col(116, 110, 100), col(60, 58, 52), 6, 0.5, 0.0, 1318},      // mossy boulders
    {RockKind::Strata, col(120, 120, 126), col(84, 84, 92), 8, 0.0, 0.55, 1319},    // snowy rock
    {RockKind::Earth, col(70, 52, 40), col(50, 38, 30), 8, 0.35, 0.0, 1320},        // peat
}};

Col rock_colour(const RockStyle& s, int x, int y, double& up) {
    up = 0.0;  // how much the surface faces up here, for moss and snow
    switch (s.kind) {
        case RockKind::Strata: {
            // Bands down the tile, bent by noise, dark seams between them.
            double v = wrap(y, kCell) + tile_fbm(s.seed, x, y, 2, 3) * 14.0;
            double band_h = double(kCell) / s.scale;
            int band = wrap(floor_int(v / band_h), s.scale);
            double in = wrapd(v, band_h);
            Col c = mix(s.a, s.b, sub_unit(hash_ints(s.seed, band), 1));
            double light = (tile_fbm(s.seed ^ 1, x, y, 8, 2) - 0.5) * 0.4;
            if (in < 1.6) light = -0.55;
            else if (in < 3.2) light += 0.25;  // lit ledge above the seam
            up = in < 4.0 ? 1.0 : 0.2;
            return shade(c, steps(light, 5.0));
        }
        case RockKind::Granite: {
            CellHit g = cell_noise(s.seed, x + 0.5, y + 0.5, s.scale, s.scale, kCell, kCell, 1.0);
            double pick = sub_unit(g.id, 1);
            Col c = pick < 0.55 ? s.a : (pick < 0.8 ? s.b : shade(s.a, 0.45));
            double light = (tile_fbm(s.seed ^ 2, x, y, 2, 3) - 0.5) * 0.7;
            CellHit f = cell_noise(s.seed ^ 3, x + 0.5, y + 0.5, 2, 2, kCell, kCell, 0.9);
            if (f.f2 - f.f1 < 1.5) light = -0.6;  // big fractures
            up = f.dy > 0 ? 0.8 : 0.2;
            return shade(c, steps(light, 5.0));
        }
        case RockKind::Cliff: {
            // Noise stretched down the face; cracks along its steep ridges.
            double n = fbm(s.seed, x + 0.5, y + 0.5, s.scale, 2, kCell, kCell, 2);
            double m = tile_fbm(s.seed ^ 4, x, y, 4, 2);
            Col c = mix(s.b, s.a, m);
            double light = (n - 0.5) * 1.0;
            if (std::fabs(n - 0.5) < 0.025) light = -0.7;
            double ledge = tile_wave(x, y, 0, 3, 64, m * 0.8);
            if (ledge > 0.85) light += 0.3;
            up = ledge > 0.6 ? 1.0 : 0.0;
            return shade(c, steps(light, 5.0));
        }
        case RockKind::Scree:
        case RockKind::Basalt: {
            const bool basalt = s.kind == RockKind::Basalt;
            CellHit c = cell_noise(s.seed, x + 0.5, y + 0.5, s.scale, s.scale, kCell, kCell, basalt ? 0.35 : 0.9);
            double edge = c.f2 - c.f1;
            if (edge < (basalt ? 1.6 : 2.0)) return shade(s.b, -0.3);
            Col t = feature_tint(s.a, c.id, 0.8, 1.15, 0.06);
            double r = 0.5 * kCell / s.scale;
            double light = basalt ? 0.1 : (c.dx + c.dy) / r * 0.35;
            if (edge < 4.0) light += c.dy > 0 ? 0.3 : -0.35;  // lit top rim, shaded foot
            up = c.dy > 0 ? 1.0 : 0.0;
            return shade(t, steps(light, 4.0));
        }
        case RockKind::Earth: {
            double n = tile_fbm(s.seed, x, y, s.scale / 2, 3);
            Col c = mix(s.b, s.a, n);
            double light = (tile_fbm(s.seed ^ 5, x, y, s.scale, 2) - 0.5) * 0.6;
            // Embedded stones, a few pixels each.
            CellHit p = cell_noise(s.seed ^ 6, x + 0.5, y + 0.5, 6, 6, kCell, kCell, 0.9);
            if (p.f1 < 1.5 + 2.0 * sub_unit(p.id, 1) && sub_unit(p.id, 2) < 0.5)
                return shade(col(150, 144, 134), p.dy > 0 ? 0.2 : -0.25);
            up = n;
            return shade(c, steps(light, 5.0));
        }
        case RockKind::Marble: {
            double n = tile_fbm(s.seed, x, y, s.scale, 4);
            double vein = tile_wave(x, y, 1, 1, 64, n * 1.5);
            Col c = s.a;
            double light = (n - 0.5) * 0.25;
            if (std::fabs(vein) < 0.22) c = mix(c, s.b, std::fabs(vein) < 0.1 ? 0.8 : 0.4);
            up = 0.3;
            return shade(c, steps(light, 6.0));
        }
    }
    return s.a;
}

}  // namespace

Rgb rock_texel(int index, int x, int y) {
    const RockStyle& s = kRocks[static_cast<std::size_t>(index)];
    double up = 0.0;
    Col c = rock_colour(s, x, y, up);
    if (s.moss > 0.0 && tile_fbm(s.seed ^ 0x30, x, y, 4, 3) + 0.15 * up > 1.15 - s.moss)
        c = mix(c, col(84, 118, 44), 0.8);
    if (s.snow > 0.0) {
        double n = tile_fbm(s.seed ^ 0x50, x, y, 3, 3) + 0.2 * up;
        if (n > 1.2 - s.snow) c = n > 1.24 - s.snow ? col(236, 240, 248) : col(186, 196, 220);
    }
    return ground_pixel(c);
}

}  // namespace texgen
