#pragma once
#include "generator_test_support.hpp"

#include <cmath>
#include <cstdint>

// How grainy a water tile looks: its neighbour contrast, the mean absolute
// luminance difference between horizontally and vertically adjacent pixels
// that both lie inside the water diamond, divided by the mean luminance of
// the diamond's pixels. Luminance is Rec. 601 luma of the 8-bit components,
// 0.299 R + 0.587 G + 0.114 B. The program's own speckle (every point
// darkened by 0.50 to 0.99) gives any water about 0.2; two textures whose
// tones differ at the same place add salt and pepper on top of it, because
// each point takes one of the two at random.

inline double luma(Colour c) { return 0.299 * red(c) + 0.587 * green(c) + 0.114 * blue(c); }

struct ContrastSums {
    double differences = 0;  // summed |dL| over adjacent pairs
    long long pairs = 0;
    double luminance = 0;  // summed L over the diamond's pixels
    long long pixels = 0;

    double contrast() const { return (differences / pairs) / (luminance / pixels); }
};

// Adds one canvas's water diamond: the painted pixels, the canvas being
// cleared to black and water never black.
inline void add_contrast(ContrastSums& sums, const RasterImage& canvas) {
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < canvas.width() && y < canvas.height() && canvas.pixel(x, y) != 0;
    };
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            if (!inside(x, y)) continue;
            const double l = luma(canvas.pixel(x, y));
            sums.luminance += l;
            ++sums.pixels;
            if (inside(x + 1, y)) {
                sums.differences += std::fabs(l - luma(canvas.pixel(x + 1, y)));
                ++sums.pairs;
            }
            if (inside(x, y + 1)) {
                sums.differences += std::fabs(l - luma(canvas.pixel(x, y + 1)));
                ++sums.pairs;
            }
        }
}

// The neighbour contrast of water tiles of `iso_width` mixing textures
// `first` and `second` of the rig's ground sheet, over `tiles` tiles drawn as
// the renderer draws them (`--water-texture-1 first --water-texture-2
// second`, both locked), frame `phase` of the loop.
inline double water_mix_contrast(TileRig& rig, int first, int second, int iso_width, int tiles, WaterPhase phase = {}) {
    ContrastSums sums;
    rig.controls().write(ctl::lock_water_texture_1, 1);
    rig.controls().write(ctl::lock_water_texture_2, 1);
    rig.request.iso_width = iso_width;
    rig.request.water_phase = phase;
    for (int t = 0; t < tiles; ++t) {
        rig.state().water_texture_1 = first;
        rig.state().water_texture_2 = second;
        rig.app->random().seed(static_cast<std::uint64_t>(1000 + t));
        rig.draw(tab_water, 0);
        add_contrast(sums, rig.canvas());
    }
    return sums.contrast();
}
