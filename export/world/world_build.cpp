#include "export/world/world_build.hpp"

#include "commands/application.hpp"
#include "export/formats/tile_encoding.hpp"
#include "export/run_options.hpp"
#include "export/tile/channel_text.hpp"
#include "export/tile/road_text.hpp"
#include "export/tile/slope_tiles.hpp"
#include "export/tile/transition_tiles.hpp"
#include "export/map/map_model.hpp"
#include "export/map/tiled_placement.hpp"
#include "generators/world/world_chunks.hpp"
#include "generators/world/world_layout.hpp"
#include "export/formats/world_manifest.hpp"
#include "export/world/world_picture.hpp"
#include "export/world/world_sprite_finish.hpp"
#include "export/world/world_sprite_fit.hpp"
#include "export/world/world_sprites.hpp"
#include "generators/world/world_foot.hpp"
#include "export/world/world_scene_files.hpp"
#include "export/world/world_sheets.hpp"
#include "export/world/world_tiles.hpp"

#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <optional>
#include <thread>
#include <tuple>

namespace {
// Draws `count` tiles on up to `jobs` threads, each with its own copy of
// the started state; tile k is draw(application, k) whichever thread draws it.
// `drawn` is told of each tile as it is done; a stop leaves the rest undrawn.
template <class Draw>
std::vector<RenderedTile> render_all(const AppState& prototype, int count, int jobs, const WorldWatch& watch,
                                     const std::function<void()>& drawn, Draw draw) {
    std::vector<RenderedTile> out(static_cast<std::size_t>(count));
    std::atomic<int> next{0};
    const auto work = [&] {
        auto state = std::make_unique<AppState>(prototype);
        state->tile_set_image = RasterImage();
        Application app(std::move(state));
        for (int k; !(watch.stop && watch.stop()) && (k = next++) < count;) {
            out[static_cast<std::size_t>(k)] = draw(app, k);
            drawn();
        }
    };
    std::vector<std::thread> threads;
    for (int j = 1; j < std::min(jobs, count); ++j) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    return out;
}

std::string tile_name(const WorldTileKey& key) {
    const std::string terrain = world_terrain_name(key.terrain);
    const std::string variant = " variant " + std::to_string(key.variant);
    const std::string mask = " corners " + std::to_string(key.mask);
    const std::string channel = channel_text(RiverChannel::unpacked(key.channel));
    switch (key.kind) {
        case WorldTileKey::Kind::fill: return terrain + variant;
        case WorldTileKey::Kind::over:
            return terrain + " over " +
                   world_terrain_name(static_cast<WorldTerrain>(static_cast<int>(key.terrain) - 1)) + mask + variant;
        case WorldTileKey::Kind::slope:
        case WorldTileKey::Kind::cliff: {
            const std::string rise = key.kind == WorldTileKey::Kind::slope ? " slope" : " cliff";
            if (key.ground == 15) return terrain + rise + mask + variant;
            return terrain + " over " +
                   world_terrain_name(static_cast<WorldTerrain>(static_cast<int>(key.terrain) - 1)) + rise + mask +
                   " ground " + std::to_string(key.ground) + variant;
        }
        case WorldTileKey::Kind::river: return "river " + channel + mask + variant;
        case WorldTileKey::Kind::rapids: return terrain + " rapids " + channel + mask + variant;
        case WorldTileKey::Kind::fall: return terrain + " waterfall " + channel + mask + variant;
        case WorldTileKey::Kind::road: {
            const RoadTrack track = RoadTrack::unpacked(static_cast<std::uint8_t>(key.channel));
            return (track.bridge ? "bridge " : terrain + " road ") + road_text(track) + mask + variant;
        }
    }
    return terrain;
}

// Tiled's colours: terrain k is colour k + 1. An over tile's low corners
// are the terrain it is laid over; a river's tile, laid over the terrains,
// has none.
std::array<int, 4> wang_corners(const WorldTileKey& key) {
    if (key.kind == WorldTileKey::Kind::river || key.kind == WorldTileKey::Kind::road) return {0, 0, 0, 0};
    const int k = static_cast<int>(key.terrain) + 1;
    std::array<int, 4> corners{k, k, k, k};
    const int mask = key.kind == WorldTileKey::Kind::over   ? key.mask
                     : key.kind == WorldTileKey::Kind::fill ? 15
                                                            : key.ground;
    const int bits[4] = {corner_top, corner_right, corner_bottom, corner_left};
    for (int c = 0; c < 4; ++c) corners[c] = (mask & bits[c]) ? k : k - 1;
    return corners;
}

std::vector<Colour> terrain_colours(const WorldPalette& palette, const AppState& state) {
    std::vector<Colour> colours;
    for (const TransitionTerrain& t : palette.textures)
        colours.push_back(terrain_mean_colour(state.ground_sheet.image, t));
    return colours;
}
}  // namespace

WorldFiles build_world(const RenderSettings& given, const AppState& prototype, const WorldWatch& watch,
                       const PngRowWriter::Sink* picture) {
    WorldFiles out;
    const RenderSettings& run = given;
    const WorldRequest request{run.world_shape, run.variants, run.seed};
    const WorldChunk chunk = world_chunk(request.width, request.height, run.shard, run.shards);
    WorldMap map = build_world_map(request, chunk.x0, chunk.y0, chunk.width, chunk.height);
    const WorldLayout layout = lay_out_world(map);
    const WorldPalette& palette = world_palette(run.world_shape);

    // The terrain tiles, still and moving apart: moving water's frames
    // make a sheet of their own, every tile there its frames along a row.
    // Each is a tile brannoc-render draws alone, so it passes the command
    // line's checks first.
    std::vector<TileRequest> tile_settings;
    for (const WorldTileKey& key : layout.tiles) {
        tile_settings.push_back(world_tile_request(run, palette, key));
        if (auto problem = check_tile_request(tile_settings.back())) {
            out.problem = "the world's tile " + tile_name(key) + " cannot be drawn: " + *problem;
            return out;
        }
    }
    // Progress in tiles drawn, the map's render and encoding counted as
    // the tiles that take as long (one tile's time draws about 27,000 of
    // its pixels).
    const double side = chunk.width + chunk.height;
    const double map_work =
        side * (run.iso_width / 2) *
        (side * (run.iso_width / 4) + world_level_rise(run.world_shape.levels, run.world_shape.levels, run.iso_width)) /
        27000.0;
    std::set<std::pair<WorldObjectKind, int>> distinct_looks;  // each drawn once
    for (const WorldObject& o : map.objects) distinct_looks.emplace(o.kind, o.look);
    const double all_work = static_cast<double>(layout.tiles.size() + distinct_looks.size()) + map_work + 1;
    std::atomic<int> done_work{0};
    const std::function<void()> drawn = [&] {
        const int done = ++done_work;
        if (watch.progress) watch.progress(done / all_work);
    };
    const auto stopped = [&] {
        if (!watch.stop || !watch.stop()) return false;
        out.stopped = true;
        out.problem = "the world was stopped before it was done";
        return true;
    };
    const std::vector<RenderedTile> tiles = render_all(
        prototype, static_cast<int>(tile_settings.size()), run.jobs, watch, drawn,
        [&](Application& app, int k) { return render_tile(app, tile_settings[static_cast<std::size_t>(k)], 0); });
    if (stopped()) return out;

    // The objects' sprites: each look placed drawn once, a mountain's
    // slices cut from its whole sprite.
    std::vector<std::pair<WorldObjectKind, int>> looks;
    for (const WorldObject& o : map.objects) looks.emplace_back(o.kind, o.look);
    std::sort(looks.begin(), looks.end());
    looks.erase(std::unique(looks.begin(), looks.end()), looks.end());
    std::vector<TileRequest> object_requests;
    for (const auto& [kind, look] : looks) {
        object_requests.push_back(world_object_request(run, palette, kind, look));
        if (auto problem = check_tile_request(object_requests.back())) {
            out.problem = std::string("the world's ") + world_object_name(kind) + " cannot be drawn: " + *problem;
            return out;
        }
    }
    const std::vector<RenderedTile> drawn_looks =
        render_all(prototype, static_cast<int>(looks.size()), run.jobs, watch, drawn, [&](Application& app, int k) {
            const auto& [kind, look] = looks[static_cast<std::size_t>(k)];
            return render_world_object(app, object_requests[static_cast<std::size_t>(k)], palette, kind, look,
                                       run.iso_width);
        });
    if (stopped()) return out;
    using SpriteKey = std::tuple<WorldObjectKind, int, int>;  // kind, look, slice
    std::vector<SpriteKey> sprite_keys;
    for (const WorldObject& o : map.objects) sprite_keys.emplace_back(o.kind, o.look, o.slice);
    std::sort(sprite_keys.begin(), sprite_keys.end());
    sprite_keys.erase(std::unique(sprite_keys.begin(), sprite_keys.end()), sprite_keys.end());
    std::vector<RenderedTile> sprites;
    std::vector<SpriteReach> reaches;
    for (const auto& [kind, look, slice] : sprite_keys) {
        const auto at = std::lower_bound(looks.begin(), looks.end(), std::pair(kind, look)) - looks.begin();
        const RenderedTile& whole = drawn_looks[static_cast<std::size_t>(at)];
        if (slice >= 0) sprites.push_back(mountain_slice(whole, slice, run.iso_width));
        else if (kind == WorldObjectKind::mountain) sprites.push_back(crag_in_cell(whole, run.iso_width));
        else sprites.push_back(whole);
        reaches.push_back(sprite_reach(sprites.back(), run.iso_width));
    }
    const auto sprite_of = [&](const WorldObject& o) {
        return static_cast<std::size_t>(
            std::lower_bound(sprite_keys.begin(), sprite_keys.end(), SpriteKey(o.kind, o.look, o.slice)) -
            sprite_keys.begin());
    };
    // A slice that keeps nothing (a narrow mountain's outer ones) stands nowhere.
    std::erase_if(map.objects, [&](const WorldObject& o) { return !paints_anything(sprites[sprite_of(o)]); });

    // Mountains have a sheet of their own: their cells are several tiles
    // wide, and every sprite of a sheet takes a cell of its largest's size.
    WorldSheet still{chunk.stem + "_tiles"}, moving{chunk.stem + "_water"}, objects{chunk.stem + "_objects"},
        mountains{chunk.stem + "_mountains"};
    moving.frames = std::max(1, run.loop_frames);
    // Where each placed tile went: its sheet (0 still, 1 moving) and its id there.
    std::vector<std::pair<int, int>> placed;
    for (std::size_t k = 0; k < tiles.size(); ++k) {
        WorldSheet& sheet = tile_settings[k].loop_frames > 1 ? moving : still;
        placed.emplace_back(&sheet == &moving ? 1 : 0, static_cast<int>(sheet.tiles.size()));
        sheet.tiles.push_back(tiles[k]);
        sheet.keys.push_back(layout.tiles[k]);
        sheet.corners.push_back(wang_corners(layout.tiles[k]));
        sheet.tile_names.push_back(tile_name(layout.tiles[k]));
        sheet.tile_flows.push_back(layout.tiles[k].channel && layout.tiles[k].kind != WorldTileKey::Kind::road ? channel_flow(RiverChannel::unpacked(layout.tiles[k].channel))
                                                           : std::string());
    }
    // Where each sprite went: its sheet and its id there.
    std::vector<std::pair<WorldSheet*, int>> sprite_at(sprites.size(), {nullptr, 0});
    std::map<const WorldSheet*, std::vector<WorldObjectKind>> sheet_kinds;  // each sprite's kind, in sheet order
    for (const WorldObject& o : map.objects) {
        const std::size_t k = sprite_of(o);
        if (sprite_at[k].first) continue;
        const auto& [kind, look, slice] = sprite_keys[k];
        WorldSheet& sheet = kind == WorldObjectKind::mountain ? mountains : objects;
        sprite_at[k] = {&sheet, static_cast<int>(sheet.tiles.size())};
        sheet.tiles.push_back(sprites[k]);
        sheet_kinds[&sheet].push_back(kind);
        std::string name = std::string(world_object_name(kind)) + " " + std::to_string(look);
        std::vector<std::string> finish = world_sprite_finish(palette, kind, run.iso_width).names();
        if (slice >= 0) {
            name += " slice " + std::to_string(slice);
            finish.push_back("slice " + std::to_string(slice));
        }
        sheet.tile_names.push_back(name);
        sheet.finishes.push_back(finish);
    }
    std::vector<const WorldSheet*> sheets;
    for (WorldSheet* s : {&still, &moving, &objects, &mountains})
        if (!s->tiles.empty()) {
            if (Problem problem = compose_world_sheet(*s, run.iso_width)) {
                out.problem = problem;
                return out;
            }
            s->facts = world_sheet_facts(s->keys, sheet_kinds[s],
                                         {static_cast<double>(s->layout.diamond_width),
                                          static_cast<double>(s->layout.diamond_height),
                                          static_cast<double>(world_rise_step(WorldTileKey::Kind::slope, run.iso_width)),
                                          static_cast<double>(world_rise_step(WorldTileKey::Kind::cliff, run.iso_width))});
            sheets.push_back(s);
        }

    // The map: a tileset a sheet, a layer a terrain and level, the objects on top.
    MapModel model;
    model.width = chunk.width;
    model.height = chunk.height;
    model.tile_width = run.iso_width;
    model.tile_height = sheets.front()->layout.diamond_height;
    int next_gid = 1;
    std::map<const WorldSheet*, int> first_gid, tileset_of;
    for (const WorldSheet* s : sheets) {
        model.tilesets.push_back(map_tileset(s->layout, s->sheet, s->stem, s->tileset_file(), next_gid));
        first_gid[s] = next_gid;
        tileset_of[s] = static_cast<int>(model.tilesets.size()) - 1;
        next_gid += model.tilesets.back().tile_count;
    }
    for (const WorldLayer& layer : layout.layers) {
        MapTileLayer tiles_layer{layer.name,
                                 0,
                                 -world_level_rise(layer.level, run.world_shape.levels, run.iso_width),
                                 {},
                                 {{"level", layer.level}}};
        tiles_layer.gids.reserve(layer.cells.size());
        for (const int t : layer.cells) {
            if (t < 0) {
                tiles_layer.gids.push_back(0);
                continue;
            }
            const auto [which, id] = placed[static_cast<std::size_t>(t)];
            const WorldSheet& sheet = which == 1 ? moving : still;
            tiles_layer.gids.push_back(static_cast<std::uint32_t>(first_gid[&sheet] + id * sheet.frames));
        }
        model.layers.emplace_back(std::move(tiles_layer));
    }
    // Each object's tile, in the map's order of objects, for the manifest.
    const auto gid_of = [&](const WorldObject& o) {
        const auto [sheet, tile] = sprite_at[sprite_of(o)];
        return static_cast<std::uint32_t>(first_gid[sheet] + tile);
    };
    std::vector<std::uint32_t> object_gids;
    for (const WorldObject& o : map.objects) object_gids.push_back(gid_of(o));
    if (!map.objects.empty()) {
        MapObjectLayer layer{"objects", 0, 0, MapDrawOrder::index, {}};
        // Back to front cell by cell (world_foot.hpp), within a cell by the
        // screen row of each foot, then from the left.
        struct Standing {
            const WorldObject* object;
            WorldFoot foot;
            std::tuple<int, int, int, int> depth;
        };
        std::vector<Standing> in_depth;
        for (const WorldObject& o : map.objects) {
            const WorldFoot foot = world_foot(map, o, run.iso_width, reaches[sprite_of(o)]);
            in_depth.push_back({&o, foot, {o.x + o.y, o.x, foot.down, foot.across}});
        }
        std::stable_sort(in_depth.begin(), in_depth.end(),
                         [](const Standing& a, const Standing& b) { return a.depth < b.depth; });
        // Each stands on its ground tile as Tiled draws that tile's layer (a
        // mountain above its cell on a layer of its foot's level).
        std::vector<TiledLayerRows> rows;
        for (std::size_t k = 0; k < layout.layers.size(); ++k)
            rows.emplace_back(model, std::get<MapTileLayer>(model.layers[k]));
        const auto ground = [&](const WorldObject& o) {
            const std::size_t cell = static_cast<std::size_t>(o.y - chunk.y0) * chunk.width + (o.x - chunk.x0);
            std::optional<std::size_t> on_level;
            for (std::size_t k = 0; k < layout.layers.size(); ++k) {
                if (layout.layers[k].level != o.level) continue;
                if (layout.layers[k].cells[cell] >= 0) return k;
                if (!on_level) on_level = k;
            }
            return on_level.value_or(0);
        };
        const CellGeometry cell{static_cast<double>(model.tile_width), static_cast<double>(model.tile_height),
                                static_cast<double>(world_rise_step(WorldTileKey::Kind::slope, run.iso_width)),
                                static_cast<double>(world_rise_step(WorldTileKey::Kind::cliff, run.iso_width))};
        int id = 1;
        for (const Standing& s : in_depth) {
            const WorldObject& o = *s.object;
            const auto [sheet, tile] = sprite_at[sprite_of(o)];
            layer.objects.push_back(standing_object(model, model.tilesets[static_cast<std::size_t>(tileset_of[sheet])],
                                                    gid_of(o), o.x - chunk.x0, o.y - chunk.y0, s.foot.rise,
                                                    rows[ground(o)], {s.foot.across, s.foot.down}));
            // Where it stands, for a game: its cell in this map and its level.
            layer.objects.back().properties = {
                {"cell_x", o.x - chunk.x0}, {"cell_y", o.y - chunk.y0}, {"level", o.level}};
            layer.objects.back().id = id++;
            layer.objects.back().name = world_object_name(o.kind);
            layer.objects.back().type = world_object_name(o.kind);
            layer.objects.back().collision = world_object_facts(o.kind, cell).collision;
        }
        model.layers.emplace_back(std::move(layer));
    }

    const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (int k = 0; k < world_terrain_count; ++k) n.push_back(world_terrain_name(static_cast<WorldTerrain>(k)));
        return n;
    }();
    const std::vector<Colour> colours = terrain_colours(palette, prototype);
    for (const WorldSheet* s : sheets)
        for (auto& file : world_sheet_files(*s, run, names, colours)) out.files.push_back(std::move(file));
    if (stopped()) return out;
    SceneFiles scenes = world_scene_files(model, chunk.stem, sheets, run.normals);
    if (scenes.problem) {
        out.problem = scenes.problem;
        return out;
    }
    if (watch.progress) watch.progress((all_work - 1) / all_work);
    for (auto& file : scenes.files) out.files.push_back(std::move(file));
    std::vector<StreamedFile> streamed;
    if (!run.world_shape.no_picture) {
        if (Problem problem = add_world_picture(model, chunk.stem + ".png", run.jobs, picture, out.files, streamed)) {
            out.problem = problem;
            return out;
        }
    }
    out.files.emplace_back(chunk.stem + ".json",
                           world_manifest(run, chunk, map, layout, sheets, model, object_gids, out.files, streamed));
    out.tiles = static_cast<int>(layout.tiles.size());
    out.objects = static_cast<int>(map.objects.size());
    if (watch.progress) watch.progress(1.0);
    return out;
}
