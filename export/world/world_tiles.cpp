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
        case WorldTileKey::Kind::rapids:
        case WorldTileKey::Kind::fall: {
            const bool cliff = key.kind == WorldTileKey::Kind::cliff || key.kind == WorldTileKey::Kind::fall;
            s.kind = TileKind::slope;
            s.cliff = cliff;
            s.slope_step = world_rise_step(cliff ? WorldTileKey::Kind::cliff : WorldTileKey::Kind::slope, run.iso_width);
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
            s.channel = RiverChannel::unpacked(key.channel);
            if (s.channel.any()) s.channel_water = palette.textures[static_cast<int>(WorldTerrain::water)];
            break;
        }
        case WorldTileKey::Kind::road:
            // The track alone, over the cell's ground: on a slope over its
            // surface, over a river a bridge above the river's tile.
            s.road = RoadTrack::unpacked(static_cast<std::uint8_t>(key.channel));
            s.terrain_a = s.road.bridge ? palette.textures[static_cast<int>(WorldTerrain::water)] : texture;
            s.terrain_b = palette.road;
            s.over = true;
            if (key.mask) {
                s.kind = TileKind::slope;
                s.slope_step = world_rise_step(WorldTileKey::Kind::slope, run.iso_width);
                s.terrain_count = 2;
                s.set_tile = key.mask + corner_masks * (15 + corner_masks * key.variant);
            } else {
                s.kind = TileKind::transition;
                s.set_tile = corner_masks * key.variant;
            }
            break;
        case WorldTileKey::Kind::river:
            // The channel of the set the shore over the water is drawn
            // with, so that it stops at that shore.
            s.kind = TileKind::transition;
            s.terrain_a = texture;
            s.terrain_b = palette.textures[static_cast<int>(WorldTerrain::shore)];
            s.over = true;
            s.set_tile = key.mask + corner_masks * key.variant;
            s.channel = RiverChannel::unpacked(key.channel);
            break;
    }
    const bool moves = s.loop_frames > 1 &&
                       kind_row(s.kind).moves(run_controls(s), {transition_tile_spec(s, 0), slope_tile_spec(s, 0)});
    if (!moves) s.loop_frames = 1, s.flow.reset();
    return s;
}
