#include "generators/tree/trees.hpp"

#include "state/control_ids.hpp"
#include "generators/tree/conifer_tree.hpp"

namespace {
constexpr int smallest_half_width = 20;
}

TreeSettings read_tree_settings(const ControlModel& controls) {
    TreeSettings settings;
    settings.conifer = controls.checked(ctl::conifer);
    settings.multi_tree = controls.checked(ctl::multi_tree);
    settings.broadleaf.leaf_percent = leaf_percent_for_item(controls.read(ctl::leaves_percent));
    // The width box is disabled today (item 1, factor 1) but is read all the same.
    settings.broadleaf.width_factor = width_factor_for_item(controls.read(ctl::tree_width));
    return settings;
}

TreePlanting plant_trees(TreeCanvas& canvas, const TreeSettings& settings) {
    TreePlanting planting;
    if (canvas.half_width < smallest_half_width) return planting;
    planting.count = draw_tree_count(canvas.random, settings.multi_tree);
    const bool single_tree = planting.count == 1;
    for (int t = 0; t < planting.count; ++t) {
        planting.trees[t] = settings.conifer ? draw_conifer_tree(canvas, single_tree)
                                             : draw_broadleaf_tree(canvas, single_tree, settings.broadleaf);
    }
    return planting;
}

void draw_trees(TileContext& context) {
    DrawingContext dc(context.state.canvas, context.request.surfaces, context.request.painted);
    TreeCanvas canvas{dc, context.state, context.random, context.state.geometry.half_width};
    plant_trees(canvas, read_tree_settings(context.controls));
}
