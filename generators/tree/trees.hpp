#pragma once
#include "state/control_model.hpp"
#include "state/tile_context.hpp"
#include "generators/tree/broadleaf_tree.hpp"

#include <array>

// The Tree tab's settings, read from its controls.
struct TreeSettings {
    bool conifer = false;
    bool multi_tree = false;
    BroadleafStyle broadleaf;
};
TreeSettings read_tree_settings(const ControlModel& controls);

inline constexpr int most_trees = 4;
struct TreePlanting {
    int count = 0;
    std::array<PlantedTree, most_trees> trees{};
};

// Draws the trees one after the other, each whole before the next, so later
// trees cover earlier ones. Draws nothing for a half width below 20 (the
// geometry not computed yet).
TreePlanting plant_trees(TreeCanvas& canvas, const TreeSettings& settings);

// The trees of the Tree tab's settings over whatever the canvas holds; it
// does not clear it, so the terrain generator can stand trees on its ground.
void draw_trees(TileContext& context);
