#pragma once
#include "generators/tree/tree_placement.hpp"

// A broadleaf: a jittered trunk of five shaded columns, 2 to 6 bare branches
// from the trunk top and a crown of oval leaf clusters lit from the right.

struct BroadleafStyle {
    int leaf_percent = 40;  // leaf pixels per cluster, as a share of 5 x height
    int width_factor = 1;   // stretches the clusters sideways
};

// "% leaves:" item k means 10k %.
constexpr int leaf_percent_for_item(int item) { return 10 * item; }
// "Tree width:" item k gives the whole factor trunc((k + 2) / 2): 1..4.
constexpr int width_factor_for_item(int item) { return (item + 2) / 2; }
// trunc(H / 16), at most 4: 1 for H below 32 up to 4 from H = 64.
constexpr int broadleaf_trunk_thickness(int half_width) { return half_width / 16 < 4 ? half_width / 16 : 4; }

PlantedTree draw_broadleaf_tree(TreeCanvas& canvas, bool single_tree, const BroadleafStyle& style);
