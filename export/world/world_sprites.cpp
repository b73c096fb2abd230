#include "export/world/world_sprites.hpp"

#include "canvas/drawing_context.hpp"
#include "export/world/world_sprite_finish.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "generators/terrain/terrain_elements.hpp"
#include "state/control_ids.hpp"

#include <algorithm>
#include <array>

namespace {

std::uint64_t object_seed(std::uint64_t world_seed, WorldObjectKind kind) {
    return tile_seed(world_seed ^ 0x6f626a65637473ULL, static_cast<int>(kind));
}

// The background over the whole canvas, counted as not painted.
void clear_to_background(TileContext& context, DrawingContext& dc) {
    const TileCanvas& canvas = context.state.canvas;
    dc.erase_box(-canvas.origin_x(), -canvas.origin_y(), canvas.width(), canvas.height(), context.request.background);
}

// A bush: fans of leaves (or of bare twigs) heaped into a mound about the
// diamond's middle, the back and higher ones first, with the undergrowth's
// grass at their feet.
void paint_bush(TileContext& context, const PaletteObjects& palette, int half_width) {
    DrawingContext dc(context.state.canvas, context.request.surfaces, context.request.painted);
    clear_to_background(context, dc);
    const int scale = half_width * 4 / 3;  // the painter's size for a bush at map scale
    TerrainCanvas painter{dc, context.state, context.random, scale};
    const int middle = scale / 2, spread = std::max(2, scale / 5);
    struct Foot {
        int across, lift;
    };
    std::array<Foot, 8> feet{};
    const int fans = 5 + random_below(context.random, 4);
    for (int n = 0; n < fans; ++n) {
        const int across = random_below(context.random, 2 * spread + 1) - spread;
        feet[n] = {across, (spread - std::abs(across)) / 2 + random_below(context.random, spread / 2 + 1)};
    }
    std::sort(feet.begin(), feet.begin() + fans, [](const Foot& a, const Foot& b) { return a.lift > b.lift; });
    // (i, j) of a point `across` pixels right of the middle and `lift` up: i - j across, (i + j) / 2 down.
    const auto at = [&](int across, int lift) {
        const int sum = 2 * middle - 2 * lift;
        return std::pair((sum + across) / 2, (sum - across) / 2);
    };
    for (int n = 0; n < fans; ++n) {
        const auto [i, j] = at(feet[n].across, feet[n].lift);
        draw_bush(painter, i, j, palette.bush);
    }
    const int blades = 4 + random_below(context.random, 4);
    for (int n = 0; n < blades; ++n) {
        const auto [i, j] = at(random_below(context.random, 3 * spread) - 3 * spread / 2, 0);
        draw_grass_blade(painter, i, j, 2 + random_below(context.random, std::max(2, half_width / 8)), palette.grass,
                         false);
    }
}

// One boulder of the palette's, about a third of the tile wide and no
// flatter than a rounded stone, sitting on the diamond's middle, and now
// and then a small one beside it. The painter draws its sprite, size and
// squash first; draws that give others are passed over, so the boulder is
// still the painter's own.
void paint_boulder(TileContext& context, const PaletteObjects& palette, int half_width) {
    DrawingContext dc(context.state.canvas, context.request.surfaces, context.request.painted);
    clear_to_background(context, dc);
    const int scale = std::min(100, 2 * half_width);  // the painter's size for a boulder at map scale
    TerrainCanvas painter{dc, context.state, context.random, scale};
    // The painter's size draw that makes a boulder `wide` pixels across.
    const auto size_for = [&](double wide) {
        return std::clamp(static_cast<int>(100 * (wide * 100 / (64.0 * scale) - 0.15)), 0, 84);
    };
    const auto place = [&](double wide, int across) {
        const int lowest = size_for(wide * 0.8), highest = std::max(lowest, size_for(wide * 1.2));
        for (int tries = 0; tries < 256; ++tries) {
            RandomSource peek = context.random;
            const int sprite = random_below(peek, 12), size = random_below(peek, 85);
            const int squash = random_below(peek, 50);  // 0: half as tall as wide; 49: as tall
            const bool ours =
                std::find(palette.boulders.begin(), palette.boulders.end(), sprite) != palette.boulders.end();
            if (ours && size >= lowest && size <= highest && squash >= 20) break;
            random_below(context.random, 2);
        }
        RandomSource peek = context.random;
        random_below(peek, 12);
        const double width = (random_below(peek, 85) / 100.0 + 0.15) * scale / 100 * 64;
        // Its left edge at i - j, its bottom row about two pixels under the diamond's middle.
        const int sum = scale - 10, difference = static_cast<int>(-width / 2) + across;
        draw_boulder(painter, (sum + difference) / 2, (sum - difference) / 2);
    };
    if (random_below(context.random, 3) == 0) place(half_width / 4.0, -half_width / 4);
    place(half_width * 2 / 3.0, 0);
}

}  // namespace

TileRequest world_object_request(const TileRequest& run, const WorldPalette& palette, WorldObjectKind kind, int look) {
    TileRequest s;
    static_cast<TileDrawing&>(s) = run;
    const WorldLook& row = world_looks(kind)[static_cast<std::size_t>(look)];
    const PaletteObjects& objects = palette.objects;
    // What the world decides: the kind's own stream, one still image of
    // each look, transparent and trimmed, drawn at the look's share of the
    // tile width (within the widths the generators draw).
    s.seed = object_seed(run.seed, kind);
    s.variants = 1;
    s.loop_frames = 1, s.flow.reset();
    s.transparent = s.trim = true;
    const int percent = row.width_percent * (kind == WorldObjectKind::tree ? objects.tree_percent : 100) / 100;
    s.iso_width = std::clamp(run.iso_width * percent / 200 * 2, 40, 200);
    switch (kind) {
        case WorldObjectKind::tree:
            s.kind = TileKind::tree;
            s.controls = {{ctl::leaves_percent, objects.leaves_item}};
            if (row.variety == WorldLookVariety::conifer) s.controls.push_back({ctl::conifer, 1});
            break;
        case WorldObjectKind::house:
            // Low houses, so they read as cottages among the trees.
            s.kind = TileKind::house;
            s.controls = {
                {ctl::lock_size, 1}, {ctl::lowest_height, 1}, {ctl::highest_height, 2}, {ctl::lock_height, 1}};
            break;
        case WorldObjectKind::mountain:
            s.kind = TileKind::mountain;
            s.controls = {{ctl::no_terrain, 1}};
            if (row.variety == WorldLookVariety::snowy || row.variety == WorldLookVariety::snowy_crag) {
                s.controls.push_back({ctl::snow_covered_top, 1});
                if (objects.snowbound_peaks) s.controls.push_back({ctl::all_snow, 1});
            }
            s.textures = {{ctl::mountain_texture_button, {objects.mountain_rock}}};
            break;
        case WorldObjectKind::boulder:
        case WorldObjectKind::bush: s.kind = TileKind::terrain; break;
    }
    return s;
}

RenderedTile render_world_object(Application& app, const TileRequest& request, const WorldPalette& palette,
                                 WorldObjectKind kind, int look, int map_width) {
    const int half_width = request.iso_width / 2;
    RenderedTile tile;
    switch (kind) {
        case WorldObjectKind::bush:
            tile = render_tile(app, request, look,
                               [&](TileContext& context) { paint_bush(context, palette.objects, half_width); });
            break;
        case WorldObjectKind::boulder:
            tile = render_tile(app, request, look,
                               [&](TileContext& context) { paint_boulder(context, palette.objects, half_width); });
            break;
        default: tile = render_tile(app, request, look); break;
    }
    finish_world_sprite(tile, world_sprite_finish(palette, kind, map_width));
    return tile;
}
