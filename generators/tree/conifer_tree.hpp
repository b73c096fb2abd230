#pragma once
#include "generators/tree/tree_placement.hpp"

// A conifer: a thin shaded triangle of a trunk and tiers of drooping needle
// strokes that narrow towards the top.

// trunc(ht / 5) - trunc(ht / 15): 3 at ht = 20, 16 at ht = 124.
constexpr int conifer_tier_count(int size) { return size / 5 - size / 15; }
// trunc(ht / 20 + 0.5): 1 for ht 20..29, 2 for 30..49, ... 6 at the largest.
int conifer_trunk_half_width(int size);

PlantedTree draw_conifer_tree(TreeCanvas& canvas, bool single_tree);
