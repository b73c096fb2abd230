#include "export/world/world_sprites.hpp"

#include "canvas/drawing_context.hpp"
#include "generators/terrain/terrain_elements.hpp"
#include "state/control_ids.hpp"

#include <algorithm>

namespace {
// The grass colour bushes take their greens from.
constexpr Colour bush_green = rgb(40, 110, 25);

std::uint64_t object_seed(std::uint64_t world_seed, WorldObjectKind kind) {
    return tile_seed(world_seed ^ 0x6f626a65637473ULL, static_cast<int>(kind));
}

// A cluster of boulders or bushes about the diamond's middle, painted over
// the request's background on the whole canvas.
void paint_cluster(TileContext& context, WorldObjectKind kind, int half_width) {
    TileCanvas& canvas = context.state.canvas;
    DrawingContext dc(canvas, context.request.surfaces, context.request.painted);
    dc.erase_box(-canvas.origin_x(), -canvas.origin_y(), canvas.width(), canvas.height(), context.request.background);
    TerrainCanvas painter{dc, context.state, context.random, half_width};
    const int middle = half_width / 2, spread = std::max(2, half_width / 5);
    const int pieces = 2 + random_below(context.random, 3);
    for (int n = 0; n < pieces; ++n) {
        const int i = middle - spread / 2 + random_below(context.random, spread);
        const int j = middle - spread / 2 + random_below(context.random, spread);
        if (kind == WorldObjectKind::boulder) draw_boulder(painter, i, j);
        else draw_bush(painter, i, j, bush_green);
    }
}
}  // namespace

TileRequest world_object_request(const TileRequest& run, WorldObjectKind kind) {
    TileRequest s;
    static_cast<TileDrawing&>(s) = run;
    // What the world decides: the kind's own stream and looks, one still
    // image of each, transparent and trimmed to what it paints. Trees are
    // mostly broadleaf in full leaf, the last looks conifers; houses low, so
    // they read as cottages among the trees.
    s.seed = object_seed(run.seed, kind);
    s.variants = 1;
    s.loop_frames = 1, s.flow.reset();
    s.transparent = s.trim = true;
    switch (kind) {
        case WorldObjectKind::tree:
            s.kind = TileKind::tree;
            s.controls = {{ctl::leaves_percent, 8}};
            break;
        case WorldObjectKind::house:
            s.kind = TileKind::house;
            s.controls = {
                {ctl::lock_size, 1}, {ctl::lowest_height, 1}, {ctl::highest_height, 2}, {ctl::lock_height, 1}};
            break;
        case WorldObjectKind::boulder:
        case WorldObjectKind::bush: s.kind = TileKind::terrain; break;
    }
    return s;
}

RenderedTile render_world_object(Application& app, const TileRequest& request, WorldObjectKind kind, int look) {
    if (kind == WorldObjectKind::tree || kind == WorldObjectKind::house) return render_tile(app, request, look);
    const int half_width = request.iso_width / 2;
    return render_tile(app, request, look, [&](TileContext& context) { paint_cluster(context, kind, half_width); });
}
