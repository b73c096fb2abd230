#include "export/world/world_tiles.hpp"

#include "export/tile/transition_tiles.hpp"

const WorldPalette& world_palette(const RenderSettings& run) {
    const WorldPalette* named = world_palette_named(run.world_shape.palette);
    return named ? *named : world_palettes().front();
}

RenderSettings world_tile_settings(const RenderSettings& run, const WorldPalette& palette, const WorldTileKey& key) {
    RenderSettings s;
    s.iso_width = run.iso_width;
    s.seed = run.seed;
    s.variants = run.variants;
    s.texture_folder = run.texture_folder;
    s.normals = run.normals;
    s.transparent = s.trim = true;
    const TransitionTerrain texture = palette.textures[static_cast<int>(key.terrain)];
    switch (key.kind) {
        case WorldTileKey::Kind::fill:
            s.kind = TileKind::transition;
            s.terrain_a = s.terrain_b = texture;
            s.fill_set = true;
            s.set_tile = key.variant;
            break;
        case WorldTileKey::Kind::over:
            s.kind = TileKind::transition;
            s.terrain_a = palette.textures[static_cast<int>(key.terrain) - 1];
            s.terrain_b = texture;
            s.over = true;
            s.set_tile = key.mask + corner_masks * key.variant;
            break;
        case WorldTileKey::Kind::slope:
        case WorldTileKey::Kind::cliff:
            s.kind = TileKind::slope;
            s.terrain_a = texture;
            s.terrain_b = palette.cliff_face;
            s.terrain_count = key.kind == WorldTileKey::Kind::cliff ? 2 : 1;
            s.cliff = key.kind == WorldTileKey::Kind::cliff;
            s.set_tile = key.mask + corner_masks * key.variant;
            break;
    }
    // Moving water only where a tile has water that can move.
    s.loop_frames = run.loop_frames;
    s.frame_ms = run.frame_ms;
    s.flow = run.flow;
    return s;
}
