#include "export/formats/sheet_engine_files.hpp"

#include "export/formats/animation_files.hpp"
#include "export/control_options.hpp"
#include "export/formats/godot3_files.hpp"
#include "export/formats/godot_files.hpp"
#include "export/formats/lighting_map_files.hpp"
#include "export/formats/relative_path.hpp"
#include "export/formats/tiled_files.hpp"
#include "export/formats/slope_engine_files.hpp"
#include "export/formats/transition_engine_files.hpp"
#include "export/tile/slope_tiles.hpp"

#include <algorithm>
#include <filesystem>

namespace {
TiledTileset tiled_description(const RenderSettings& settings, const std::vector<RenderedTile>& tiles) {
    const std::string tileset_path = sheet_tileset_path(settings.sheet);
    TiledTileset tileset{std::filesystem::path(settings.sheet).stem().string(),
                         path_from_file(tileset_path, settings.sheet),
                         !settings.png,
                         {},
                         {}};
    // Enough for a designer to find the tile again in the manifest and draw it anew.
    const int frames = std::max(1, settings.loop_frames);
    for (int i = 0; i < static_cast<int>(tiles.size()); ++i) {
        tileset.tiles.push_back(
            {i * frames,
             {{"kind", "", kind_row(settings.kind).name}, {"seed", "", std::to_string(tiles[i].seed)}},
             {}});
        if (frames > 1) tileset.tiles.back().elements.push_back(tiled_animation(i * frames, frames, settings.frame_ms));
    }
    return tileset;
}
}  // namespace

int sample_map_size(const SheetLayout& layout, int frames) { return std::clamp(layout.columns / frames, 2, 8); }

SampleMap sample_map(const RenderSettings& settings, const SheetLayout& layout, int tile_count, int fewest_cells) {
    SampleMap map;
    if (kind_row(settings.kind).corner_set) {
        // Laid out by corners, large enough to show them join; a fill set's,
        // of random variants, large enough to show that no pattern repeats.
        map.size = std::max(settings.fill_set ? 16 : 8, fewest_cells);
        map.tiles = sample_corner_tiles(map.size, settings.variants, settings.seed, settings.fill_set);
        return map;
    }
    map.size = std::max(fewest_cells, sample_map_size(layout, std::max(1, settings.loop_frames)));
    for (int k = 0; k < map.size * map.size; ++k) map.tiles.push_back(k % std::max(1, tile_count));
    return map;
}

std::string sheet_tileset_path(const std::string& sheet) {
    return std::filesystem::path(sheet).replace_extension(".tsx").string();
}

std::vector<std::pair<std::string, std::string>> sheet_engine_files(const RenderSettings& settings,
                                                                    const SheetLayout& layout,
                                                                    const std::vector<RenderedTile>& tiles,
                                                                    const RasterImage& ground_sheet) {
    const int count = static_cast<int>(tiles.size());
    // Moving water: each tile's frames fill the cells after its own.
    const int frames = std::max(1, settings.loop_frames);
    const std::string tileset_path = sheet_tileset_path(settings.sheet);
    TiledTileset tiled = tiled_description(settings, tiles);
    GodotTileSet godot{path_from_file(settings.godot, settings.sheet), {}, {}, {}, {}};
    if (settings.normals) {
        // Both engines light the tiles through the normal sheet written beside the colour.
        const std::string normal_sheet = lighting_map_file_name(settings.sheet, "_n.png");
        godot.normal_image = path_from_file(settings.godot, normal_sheet);
        tiled.properties.push_back({"normal_map", "file", path_from_file(tileset_path, normal_sheet)});
    }
    if (settings.albedo) {
        // The colour unlit: lit by the engine alone, the diffuse texture under the normals.
        const std::string albedo_sheet = lighting_map_file_name(settings.sheet, "_a.png");
        if (settings.normals) godot.image = path_from_file(settings.godot, albedo_sheet);
        tiled.properties.push_back({"albedo_map", "file", path_from_file(tileset_path, albedo_sheet)});
    }
    const bool transition = kind_row(settings.kind).corner_set;
    if (transition) {
        // Terrain sets: the editors' brushes then pick the tile for each corner.
        // Slopes: their terrains are the levels.
        const std::vector<TerrainSwatch> terrains =
            settings.kind == TileKind::slope ? slope_swatches(tiles, settings.over)
                                             : terrain_swatches(settings, tiles, &ground_sheet);
        tiled.elements.push_back(tiled_wangsets(terrains, count, frames, settings.over));
        godot.tileset = godot_terrain_set(terrains);
        for (int k = 0; k < count; ++k)
            godot.tiles.push_back(godot_tile_terrain(settings.fill_set ? 0 : k % corner_masks));
    }
    std::vector<std::pair<std::string, std::string>> files;
    files.emplace_back(tileset_path, tiled_tileset(layout, tiled));
    if (!settings.tmx.empty()) {
        const int map_size = sample_map(settings, layout, count).size;
        std::string map = tiled_map(layout, count, path_from_file(settings.tmx, tileset_path), map_size, frames);
        if (settings.kind == TileKind::slope)
            map = slope_hill_map(layout, count, path_from_file(settings.tmx, tileset_path), run_slope_step(settings),
                                 settings.variants, settings.seed, settings.over, frames);
        else if (transition)
            map = with_corner_layout(map, map_size, settings.variants, settings.seed, frames, settings.fill_set);
        files.emplace_back(settings.tmx, std::move(map));
    }
    if (!settings.godot.empty()) {
        if (frames > 1) {
            godot.tiles.resize(tiles.size());
            for (GodotKeys& keys : godot.tiles) {
                const GodotKeys animation = godot_animation_keys(frames, settings.frame_ms);
                keys.insert(keys.begin(), animation.begin(), animation.end());
            }
            godot.cell_stride = frames;
        }
        files.emplace_back(settings.godot, godot_tileset(layout, count, godot));
    }
    if (!settings.godot3.empty())
        files.emplace_back(settings.godot3, godot3_tileset(layout, count,
                                                           {std::filesystem::path(settings.sheet).stem().string(),
                                                            path_from_file(settings.godot3, settings.sheet),
                                                            {},
                                                            {}}));
    return files;
}
