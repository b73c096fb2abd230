#pragma once
#include "state/texture_cells.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "generator_test_support.hpp"
#include "generators/terrain/terrain_layout.hpp"

#include <map>
#include <optional>
#include <utility>

namespace terrain_test {

// Ticks exactly the given Terrain-tab boxes (and clears the rest).
inline void tick_only(TileRig& rig, std::initializer_list<int> boxes) {
    for (int box : {ctl::grass, ctl::make_crops, ctl::boulder, ctl::bush, ctl::terrain_tree, ctl::pool, ctl::swamp})
        rig.controls().write(box, 0);
    for (int box : boxes) rig.controls().write(box, 1);
}

// A ground sheet whose texels say where they come from: red and green follow
// the position inside the 64-pixel cell, blue names the cell. No texel is
// black, so a black pixel on the tile is one nothing painted.
inline RasterImage coded_ground_sheet() {
    RasterImage sheet(640, 512);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 640; ++x)
            sheet.set_pixel(x, y, rgb(60 + 3 * (x % 64), 60 + 3 * (y % 64), 10 + (x / 64) + 10 * (y / 64)));
    return sheet;
}

// The pixels of the wanted cells of the grid i, j in 0..H, each with the
// cell that paints it last in the element pass (j outer, i inner).
using Writers = std::map<std::pair<int, int>, std::pair<int, int>>;
inline Writers element_pass_writers(int half_width, bool (*wanted)(const AppState&, int, int), const AppState& state) {
    Writers writer;
    for (int j = 0; j <= half_width; ++j)
        for (int i = 0; i <= half_width; ++i) {
            if (!wanted(state, i, j)) continue;
            const CanvasPoint at = diamond_pixel(half_width, i, j);
            writer[{at.x, at.y}] = {i, j};
            writer[{at.x + 1, at.y}] = {i, j};
        }
    return writer;
}

// The shade q (0..49) that turns texel into pixel, if there is one.
inline std::optional<int> shade_between(Colour texel, Colour pixel) {
    for (int q = 0; q < 50; ++q) {
        const double f = static_cast<float>(q / 100.0 + 0.5);
        if (pixel ==
            rgb(nearest_to_int(red(texel) * f), nearest_to_int(green(texel) * f), nearest_to_int(blue(texel) * f)))
            return q;
    }
    return std::nullopt;
}
}  // namespace terrain_test
