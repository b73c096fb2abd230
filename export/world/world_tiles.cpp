#include "export/world/world_tiles.hpp"

#include "export/tile/slope_tiles.hpp"
#include "export/tile/transition_tiles.hpp"

const WorldPalette& world_palette(const WorldShape& shape) {
    const WorldPalette* named = world_palette_named(shape.palette);
    return named ? *named : world_palettes().front();
}

TileRequest world_tile_request(const TileRequest& run, const WorldPalette& palette, const WorldTileKey& key) {
    TileRequest s;
    static_cast<TileDrawing&>(s) = run;
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
            s.cliff = key.kind == WorldTileKey::Kind::cliff;
            s.slope_step = world_rise_step(key.kind, run.iso_width);
            if (key.ground == 15) {
                // The bottom of the stack: its ground whole, a cliff's face of the palette's rock.
                s.terrain_a = texture;
                s.terrain_b = s.cliff ? palette.cliff_face : texture;
                s.terrain_count = s.cliff ? 2 : 1;
                s.set_tile = key.mask + corner_masks * key.variant;
            } else {
                s.terrain_a = palette.textures[static_cast<int>(key.terrain) - 1];
                s.terrain_b = texture;
                s.terrain_count = 2;
                s.over = true;
                s.set_tile = key.mask + corner_masks * (key.ground + corner_masks * key.variant);
            }
            break;
    }
    const bool moves = s.loop_frames > 1 &&
                       kind_row(s.kind).moves(run_controls(s), {transition_tile_spec(s, 0), slope_tile_spec(s, 0)});
    if (!moves) s.loop_frames = 1, s.flow.reset();
    return s;
}
