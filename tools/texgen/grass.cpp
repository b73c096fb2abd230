// Ground-sheet row 3: ten grass textures, one built around each flat grass colour.
#include "material.hpp"
#include "recipes.hpp"
#include "sheet_layout.hpp"
#include "terrain_common.hpp"

#include <array>

namespace texgen {
namespace {

struct GrassStyle {
    double lift;     // brightening of the flat colour to the texture's mid tone
    int patches;     // noise cells across the tile for light and dark patches
    double blades;   // share of stroke cells that hold a blade
    int blade_len;   // longest blade
    double dry;      // 0..1 share of dry, straw-coloured patches
    Col accent;      // flowers or clover
    double accents;  // share of accent clusters
    std::uint64_t seed;
};

const std::array<GrassStyle, 10> kGrass = {{
    {0.55, 3, 0.55, 5, 0.0, col(240, 240, 230), 0.0, 1001},  // deep meadow
    {0.5, 4, 0.7, 4, 0.0, col(250, 250, 240), 0.12, 1002},   // with daisies
    {0.45, 2, 0.45, 6, 0.12, col(0, 0, 0), 0.0, 1003},       // long grass, some dry
    {0.4, 3, 0.8, 3, 0.0, col(120, 170, 60), 0.3, 1004},     // short lawn with clover
    {0.35, 4, 0.5, 4, 0.25, col(230, 200, 60), 0.1, 1005},   // buttercups, dry spots
    {0.3, 2, 0.6, 5, 0.0, col(180, 120, 200), 0.08, 1006},   // heather tint
    {0.3, 3, 0.4, 4, 0.4, col(0, 0, 0), 0.0, 1007},          // patchy, half dry
    {0.25, 4, 0.65, 3, 0.15, col(220, 80, 60), 0.06, 1008},  // poppies
    {0.2, 3, 0.5, 5, 0.55, col(0, 0, 0), 0.0, 1009},         // autumn, mostly dry
    {0.25, 2, 0.75, 4, 0.3, col(0, 0, 0), 0.0, 1010},        // steppe
}};

}  // namespace

Rgb grass_texel(int index, int x, int y) {
    const GrassStyle& s = kGrass[static_cast<std::size_t>(index)];
    const Col flat = from_rgb(kFlatGrass[static_cast<std::size_t>(index)]);
    const Col base = shade(flat + Col{10.0, 14.0, 6.0}, s.lift);
    double patch = tile_fbm(s.seed, x, y, s.patches, 3);
    double light = (patch - 0.5) * 1.5;
    double dry = tile_fbm(s.seed ^ 0xD, x, y, 2, 3);
    Col c = base;
    if (dry > 1.0 - s.dry) c = mix(base, col(170, 150, 80), dry > 1.0 - s.dry + 0.06 ? 0.7 : 0.35);
    double blade = stroke_at(s.seed ^ 0xB1, x, y, 16, 2, s.blade_len, s.blades);
    if (blade >= 0.0) light = light * 0.5 + 0.1 + 0.45 * blade;  // lighter at the tip
    else if (blade == -2.0) light -= 0.3;
    if (s.accents > 0.0) {
        // Small clusters of 2 x 2 flowers or clover leaves.
        int cx = wrap(x, kCell) / 4, cy = wrap(y, kCell) / 4;
        std::uint64_t h = hash_ints(s.seed ^ 0xF, cx, cy);
        if (unit_from_hash(h) < s.accents * 0.5 && (wrap(x, kCell) % 4) < 2 && (wrap(y, kCell) % 4) < 2 &&
            tile_fbm(s.seed ^ 0xE, x, y, 2, 2) > 0.45)
            return ground_pixel(shade(s.accent, (wrap(y, kCell) % 4) == 0 ? 0.1 : -0.15));
    }
    return ground_pixel(shade(c, steps(light, 5.0)));
}

}  // namespace texgen
