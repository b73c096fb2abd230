#pragma once
#include "generator_test_support.hpp"
#include "generators/tree/trees.hpp"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <set>

namespace tree_test {

inline constexpr int cx = 130;
inline constexpr int cy = 180;

// Trees planted straight on a cleared canvas, with the tables filled but no
// sheets decoded (trees use none).
struct Forest {
    explicit Forest(std::uint64_t seed = 1) : state(std::make_unique<AppState>()), random(seed) {
        fill_fixed_tables(*state);
    }
    TreePlanting plant(const TreeSettings& settings, int half_width) {
        state->canvas = RasterImage(TileGeometry::canvas_width, TileGeometry::canvas_height);
        DrawingContext dc(state->canvas);
        TreeCanvas canvas{dc, *state, random, half_width};
        return plant_trees(canvas, settings);
    }
    const RasterImage& canvas() const { return state->canvas; }

    std::unique_ptr<AppState> state;
    RandomSource random;
};

inline TreeSettings broadleaf(int leaf_percent = 40, bool multi = false) {
    TreeSettings s;
    s.multi_tree = multi;
    s.broadleaf.leaf_percent = leaf_percent;
    return s;
}

inline TreeSettings conifer(bool multi = false) {
    TreeSettings s;
    s.conifer = true;
    s.multi_tree = multi;
    return s;
}

inline int leaf_index(const AppState& state, Colour c) {
    const auto& leaves = state.leaf_colours;
    const auto it = std::find(leaves.begin(), leaves.end(), c);
    return it == leaves.end() ? -1 : static_cast<int>(it - leaves.begin());
}

// A broadleaf's wood takes the first five trunk colours; the sixth is never
// painted, so seeing it means a shade index ran off the leaf table.
inline bool is_trunk_colour(const AppState& state, Colour c) {
    return std::find(state.trunk_colours.begin(), state.trunk_colours.begin() + 5, c) !=
           state.trunk_colours.begin() + 5;
}

// Needles are green over red; the conifer trunk is red over green (or black).
inline PixelSet needle_pixels(const RasterImage& image, int shift_x) {
    PixelSet needles;
    for (const auto& [x, y] : painted_pixels(image)) {
        const Colour c = image.pixel(x, y);
        if (green(c) > red(c)) needles.insert({x + shift_x, y});
    }
    return needles;
}

inline constexpr std::array<int, 5> some_half_widths{20, 25, 35, 50, 100};
}  // namespace tree_test
