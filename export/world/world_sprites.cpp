#include "export/world/world_sprites.hpp"

#include "canvas/drawing_context.hpp"
#include "export/tile/render_canvas.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "generators/terrain/terrain_elements.hpp"
#include "state/control_ids.hpp"

#include <algorithm>

namespace {
constexpr Colour probe_a = rgb(0, 0, 0), probe_b = rgb(255, 255, 255);
// The grass colour bushes take their greens from.
constexpr Colour bush_green = rgb(40, 110, 25);

std::uint64_t object_seed(std::uint64_t world_seed, WorldObjectKind kind) {
    return tile_seed(world_seed ^ 0x6f626a65637473ULL, static_cast<int>(kind));
}

// Trees: mostly broadleaf in full leaf, the last looks conifers. Houses:
// low, so they read as cottages among the trees, at the run's width.
RenderSettings generator_settings(const RenderSettings& run, WorldObjectKind kind) {
    RenderSettings s;
    s.iso_width = run.iso_width;
    s.seed = object_seed(run.seed, kind);
    s.transparent = s.trim = true;
    s.texture_folder = run.texture_folder;
    s.normals = run.normals;
    if (kind == WorldObjectKind::tree) {
        s.kind = TileKind::tree;
        s.controls = {{ctl::leaves_percent, 8}};
    } else {
        s.kind = TileKind::house;
        s.controls = {{ctl::lock_size, 1}, {ctl::lowest_height, 1}, {ctl::highest_height, 2}, {ctl::lock_height, 1}};
    }
    return s;
}

// A cluster of boulders or bushes about the diamond's middle, painted over
// `background` on the whole canvas.
void paint_cluster(AppState& state, WorldObjectKind kind, int half_width, std::uint64_t seed, Colour background,
                   SurfaceIds* surfaces) {
    TileCanvas& canvas = state.canvas;
    DrawingContext dc(canvas, surfaces);
    dc.box(-canvas.origin_x(), -canvas.origin_y(), canvas.width(), canvas.height(), background);
    RandomSource random;
    random.seed(seed);
    TerrainCanvas painter{dc, state, random, half_width};
    const int middle = half_width / 2, spread = std::max(2, half_width / 5);
    const int pieces = 2 + random_below(random, 3);
    for (int n = 0; n < pieces; ++n) {
        const int i = middle - spread / 2 + random_below(random, spread);
        const int j = middle - spread / 2 + random_below(random, spread);
        if (kind == WorldObjectKind::boulder) draw_boulder(painter, i, j);
        else draw_bush(painter, i, j, bush_green);
    }
}

RenderedTile render_cluster(Application& app, const RenderSettings& run, WorldObjectKind kind, int look) {
    AppState& state = app.state();
    const RenderCanvas room = render_canvas_for_width(run.iso_width);
    state.canvas = TileCanvas(room.width, room.height, room.origin_x, room.origin_y);
    const std::uint64_t seed = tile_seed(object_seed(run.seed, kind), look);
    const int half_width = run.iso_width / 2;
    paint_cluster(state, kind, half_width, seed, probe_b, nullptr);
    const RasterImage probe = state.canvas;
    paint_cluster(state, kind, half_width, seed, probe_a, nullptr);
    const RasterImage& canvas = state.canvas;

    int left = canvas.width(), top = canvas.height(), right = -1, bottom = -1;
    std::vector<std::uint8_t> painted(static_cast<std::size_t>(canvas.width()) * canvas.height(), 0);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.colour_at(x, y) != probe.colour_at(x, y)) continue;
            painted[static_cast<std::size_t>(y) * canvas.width() + x] = 255;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (right < 0)  // nothing painted: one clear pixel at the anchor
        left = right = TileGeometry::centre_x + room.origin_x, top = bottom = TileGeometry::ground_y + room.origin_y;
    RenderedTile tile;
    const int width = right - left + 1, height = bottom - top + 1;
    tile.image = grab_image(canvas, left, top, width, height);
    tile.alpha.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        std::copy_n(&painted[static_cast<std::size_t>(top + y) * canvas.width() + left], width,
                    &tile.alpha[static_cast<std::size_t>(y) * width]);
    tile.left = left - room.origin_x;
    tile.top = top - room.origin_y;
    tile.anchor_x = TileGeometry::centre_x - tile.left;
    tile.anchor_y = TileGeometry::ground_y - tile.top;
    tile.seed = seed;
    return tile;
}
}  // namespace

RenderedTile render_world_object(Application& app, const RenderSettings& run, WorldObjectKind kind, int look) {
    if (kind == WorldObjectKind::tree || kind == WorldObjectKind::house)
        return render_tile(app, generator_settings(run, kind), look);
    return render_cluster(app, run, kind, look);
}
