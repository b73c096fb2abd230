// Ground-sheet row 5: ten waters.
//
// The program paints a water tile point by point from two of these cells,
// each point taking one of the two at random and darkened by its own random
// 0.50..0.99. So every water here shares one tonal range: the five steps of
// kToneLuma, painted in the texture's own hues. Any two waters then differ
// in colour but hardly in lightness at the same place, and their mix reads
// as water instead of salt and pepper. A texture carries its look in hue and
// in shapes of 6 to 32 pixels (bands, streaks, floes, pads), never in thin
// lines or specks, which the darkening hides and moving water makes flicker.
#include "material.hpp"
#include "recipes.hpp"
#include "terrain_common.hpp"

#include <algorithm>
#include <array>

namespace texgen {
namespace {

// The luma (0.299 R + 0.587 G + 0.114 B) of the five steps every water is
// painted with: trough, low, middle, high, crest or foam.
constexpr std::array<double, 5> kToneLuma = {70.0, 82.0, 94.0, 108.0, 138.0};

double luma(Col c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

// The tint's hue and saturation at the given luma.
Col at_luma(Col tint, double target) { return tint * (target / luma(tint)); }

struct Wave {
    int a, b, period;  // crests along a*x + b*y, see tile_wave
    double weight;
};

// What shapes a water's surface beyond its waves.
enum class Feature {
    None,
    Caustics,  // a soft net of light over the bottom (clear shallow water)
    Floes,     // pale plates of ice with dark water between
    Pads,      // round leaves with a notch, and their shadows
    Weed,      // murky patches of duckweed and a few pads
};

struct WaterStyle {
    std::array<Col, 5> tint;  // hue of each tone step, trough to crest
    double tone;              // shift of this water's tone, in luma (all within a few)
    Wave w1, w2;
    double warp;           // how far noise bends the waves, in cycles
    int noise_x, noise_y;  // cells of the depth noise across and down (streaks when unequal)
    double wave_gain;      // tone steps from trough to crest of the waves
    double depth_gain;     // tone steps across the depth noise
    double crest_at;       // wave height above which the crest step shows
    Feature feature;
    int cells;     // feature cells across the tile
    double share;  // share of cells with a floe or pad
    Col accent;    // floes, pads or weed
    std::uint64_t seed;
};

// clang-format off
const std::array<WaterStyle, 10> kWaters = {{
    // 0 sea: open blue water, swell bands with whitecap streaks.
    {{col(24, 80, 150), col(30, 94, 166), col(40, 110, 180), col(60, 130, 194), col(124, 194, 238)}, 2.0,
     {1, 4, 64, 0.6}, {-1, 2, 64, 0.4}, 0.45, 2, 2, 2.2, 1.4, 0.78,
     Feature::None, 0, 0.0, col(0, 0, 0), 1201},
    // 1 lagoon: milky jade-turquoise shallows, broad soft light over the sand.
    {{col(48, 128, 120), col(62, 146, 132), col(82, 164, 146), col(132, 190, 160), col(190, 236, 210)}, 1.0,
     {0, 2, 32, 0.6}, {1, -2, 64, 0.4}, 0.4, 2, 2, 1.2, 3.0, 0.88,
     Feature::None, 0, 0.0, col(0, 0, 0), 1202},
    // 2 lake: calm slate-teal, long faint ripples and a few reflections.
    {{col(40, 78, 92), col(50, 92, 104), col(64, 108, 118), col(88, 128, 136), col(170, 200, 204)}, 2.0,
     {0, 2, 32, 0.7}, {1, 1, 32, 0.3}, 0.5, 2, 2, 1.8, 1.6, 0.82,
     Feature::None, 0, 0.0, col(0, 0, 0), 1203},
    // 3 river: grey-blue current drawn out along the flow, light streaks.
    {{col(44, 82, 104), col(56, 98, 118), col(72, 114, 130), col(100, 136, 150), col(176, 204, 214)}, 0.0,
     {0, 4, 64, 0.6}, {0, 2, 64, 0.4}, 0.9, 1, 8, 1.2, 2.6, 0.8,
     Feature::None, 0, 0.0, col(0, 0, 0), 1204},
    // 4 swamp: murky olive-brown water, patches of duckweed, a few pads.
    {{col(66, 62, 42), col(68, 70, 46), col(74, 80, 56), col(86, 98, 76), col(140, 158, 136)}, -2.0,
     {0, 2, 64, 0.6}, {1, 3, 64, 0.4}, 1.0, 3, 3, 2.0, 1.1, 0.85,
     Feature::Weed, 5, 0.15, col(104, 120, 48), 1205},
    // 5 deep ocean: saturated cobalt, slow swell, rare crests.
    {{col(30, 46, 118), col(34, 56, 130), col(40, 68, 144), col(56, 88, 162), col(120, 160, 214)}, -4.0,
     {1, 3, 64, 0.65}, {-1, 2, 64, 0.35}, 0.3, 1, 2, 2.4, 1.0, 0.93,
     Feature::None, 0, 0.0, col(0, 0, 0), 1206},
    // 6 ice floes: dark steel water between pale blue-white plates of ice.
    {{col(30, 62, 104), col(38, 74, 118), col(50, 90, 132), col(70, 110, 150), col(160, 200, 226)}, -3.0,
     {1, 1, 32, 0.5}, {1, -1, 16, 0.5}, 0.3, 2, 2, 1.0, 1.0, 2.0,
     Feature::Floes, 3, 0.55, col(170, 222, 246), 1207},
    // 7 lily pond: clear green-teal water, round pads with a notch.
    {{col(36, 92, 80), col(44, 106, 92), col(58, 122, 106), col(80, 140, 122), col(160, 210, 190)}, 0.0,
     {0, 1, 16, 0.6}, {1, 2, 32, 0.4}, 0.5, 2, 2, 1.6, 1.4, 0.88,
     Feature::Pads, 5, 0.25, col(90, 140, 50), 1208},
    // 8 rapids: blue-grey water torn into bands of white foam.
    {{col(40, 86, 128), col(52, 100, 140), col(66, 116, 152), col(96, 140, 172), col(220, 236, 244)}, -2.0,
     {0, 3, 32, 0.7}, {1, 4, 64, 0.3}, 1.2, 2, 4, 2.2, 1.0, 0.6,
     Feature::None, 0, 0.0, col(0, 0, 0), 1209},
    // 9 tropical: vivid cyan over white sand, a net of sunlight on the bottom.
    {{col(10, 110, 168), col(16, 130, 180), col(30, 150, 190), col(70, 180, 204), col(150, 236, 246)}, -3.0,
     {1, 2, 64, 0.5}, {-2, 1, 64, 0.5}, 0.4, 2, 2, 1.2, 1.6, 0.9,
     Feature::Caustics, 4, 0.0, col(0, 0, 0), 1210},
}};
// clang-format on

// Colour of tone step k (0..4, fractions blend) in this water's hues.
Col tone_colour(const WaterStyle& s, double k) {
    k = clampd(k, 0.0, 4.0);
    int i = floor_int(k);
    if (i >= 4) i = 3;
    double f = k - i;
    Col a = at_luma(s.tint[static_cast<std::size_t>(i)], kToneLuma[static_cast<std::size_t>(i)] + s.tone);
    Col b = at_luma(s.tint[static_cast<std::size_t>(i + 1)], kToneLuma[static_cast<std::size_t>(i + 1)] + s.tone);
    return mix(a, b, f);
}

}  // namespace

Rgb water_texel(int index, int x, int y) {
    const WaterStyle& s = kWaters[static_cast<std::size_t>(index)];
    double bend1 = tile_fbm(s.seed, x, y, 2, 3) * s.warp;
    double bend2 = tile_fbm(s.seed ^ 1, x, y, 2, 3) * s.warp;
    double h = s.w1.weight * tile_wave(x, y, s.w1.a, s.w1.b, s.w1.period, bend1) +
               s.w2.weight * tile_wave(x, y, s.w2.a, s.w2.b, s.w2.period, bend2);
    double depth = fbm(s.seed ^ 2, x + 0.5, y + 0.5, s.noise_x, s.noise_y, kCell, kCell, 2);
    // Tone step 0..3 from the waves and the depth, kept to flat pixel-art steps.
    double k = 1.5 + 0.5 * h * s.wave_gain + (depth - 0.5) * s.depth_gain;
    k = std::floor(clampd(k, 0.0, 3.0) + 0.5);
    if (h > s.crest_at) k = 4.0;
    else if (h > s.crest_at - 0.1) k = 3.5;

    switch (s.feature) {
        case Feature::None: break;
        case Feature::Caustics: {
            // Light gathers along the edges of a wide net, bent by noise so the
            // rims wander like sunlight through ripples: broad soft bands.
            double wx = (tile_fbm(s.seed ^ 6, x, y, 2, 2) - 0.5) * 16.0;
            double wy = (tile_fbm(s.seed ^ 7, x, y, 2, 2) - 0.5) * 16.0;
            CellHit g = cell_noise(s.seed ^ 3, x + 0.5 + wx, y + 0.5 + wy, s.cells, s.cells, kCell, kCell, 0.8);
            double edge = g.f2 - g.f1;
            double width = 1.0 + 5.0 * tile_fbm(s.seed ^ 8, x, y, 2, 2);  // the net fades in and out
            if (edge < 0.45 * width) k = std::max(k, 3.0) + 0.5;
            else if (edge < width) k = std::max(k + 1.0, 3.0);
            break;
        }
        case Feature::Floes: {
            // Plates of ice with ragged outlines (the cell noise is bent by
            // noise): flat pale tops, a shaded rim along the lower edge.
            double wx = (tile_fbm(s.seed ^ 6, x, y, 4, 2) - 0.5) * 10.0;
            double wy = (tile_fbm(s.seed ^ 7, x, y, 4, 2) - 0.5) * 10.0;
            CellHit c = cell_noise(s.seed ^ 3, x + 0.5 + wx, y + 0.5 + wy, s.cells, s.cells, kCell, kCell, 0.7);
            double edge = c.f2 - c.f1;
            if (sub_unit(c.id, 1) < s.share && edge > 4.0) {
                double lum = edge < 7.0 && c.dy < 0.0 ? 108.0 : 130.0;
                return ground_pixel(at_luma(s.accent, lum + s.tone));
            }
            k = std::min(k, 1.0);  // open water between the floes is dark
            break;
        }
        case Feature::Pads:
        case Feature::Weed: {
            if (s.feature == Feature::Weed) {
                // Drifts of duckweed: flat dull green, a shade lighter than the water.
                double weed = tile_fbm(s.seed ^ 5, x, y, 4, 2);
                if (weed > 0.74) return ground_pixel(at_luma(s.accent, 100.0 + s.tone));
            }
            CellHit p = cell_noise(s.seed ^ 4, x + 0.5, y + 0.5, s.cells, s.cells, kCell, kCell, 0.8);
            double r = 5.0 + 3.0 * sub_unit(p.id, 1);
            bool pad = sub_unit(p.id, 2) < s.share;
            if (pad && p.f1 < r) {
                // A pad with a notch, lit on its upper side.
                bool notch = p.dx > 0.0 && p.dy < 0.0 && -p.dy < p.dx * 0.5;
                if (!notch) return ground_pixel(at_luma(s.accent, (p.dy > 0.0 ? 116.0 : 98.0) + s.tone));
            } else if (pad && p.f1 < r + 2.0) {
                k = std::min(k, 1.0);  // its shadow on the water
            }
            break;
        }
    }
    return ground_pixel(tone_colour(s, k));
}

}  // namespace texgen
