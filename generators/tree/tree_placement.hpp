#pragma once
#include "state/app_state.hpp"
#include "canvas/drawing_context.hpp"
#include "canvas/random_source.hpp"

// What a tree is drawn with: the canvas, the colour and angle tables, the
// random source and the tile's half width H (20..100).
struct TreeCanvas {
    DrawingContext& dc;
    const AppState& tables;
    RandomSource& random;
    int half_width = 0;
};

struct TreeBase {
    int x = 0;
    int y = 0;
};

// How a drawn tree turned out. Callers that only paint ignore it; tests and
// benchmarks read the counts the random draws decided.
struct PlantedTree {
    TreeBase base;
    int size = 0;           // broadleaf: trunk height; conifer: ht
    int trunk_width = 0;    // broadleaf: thickness; conifer: half-width
    int branch_count = 0;   // broadleaf
    int cluster_count = 0;  // broadleaf
    int tier_count = 0;     // conifer
    int stroke_count = 0;   // conifer needle strokes
};

// 1 to 4 trees with "Multi tree", otherwise 1; the draw is made either way so
// the rest of the tile's draws do not depend on the box.
int draw_tree_count(RandomSource& random, bool multi_tree);

// A tree's foot: within H/2 across and H/4 up or down of the tile centre, or
// the centre itself for a lone tree (both draws still made).
TreeBase draw_tree_base(RandomSource& random, int half_width, bool single_tree);
