#include "export/sheet_engine_files.hpp"

#include "export/animation_files.hpp"
#include "export/control_options.hpp"
#include "export/godot3_files.hpp"
#include "export/godot_files.hpp"
#include "export/relative_path.hpp"
#include "export/tiled_files.hpp"

#include <algorithm>
#include <filesystem>

namespace {
TiledTileset tiled_description(const RenderSettings& settings, const std::vector<RenderedTile>& tiles) {
    const std::string tileset_path = sheet_tileset_path(settings.sheet);
    TiledTileset tileset{std::filesystem::path(settings.sheet).stem().string(),
                         path_from_file(tileset_path, settings.sheet), !settings.png, {}, {}};
    // Enough for a designer to find the tile again in the manifest and draw it anew.
    const int frames = std::max(1, settings.loop_frames);
    for (int i = 0; i < static_cast<int>(tiles.size()); ++i) {
        tileset.tiles.push_back(
            {i * frames, {{"kind", "", tab_name(settings.tab)}, {"seed", "", std::to_string(tiles[i].seed)}}, {}});
        if (frames > 1) tileset.tiles.back().elements.push_back(tiled_animation(i * frames, frames, settings.frame_ms));
    }
    return tileset;
}
}  // namespace

int sample_map_size(const SheetLayout& layout, int frames) { return std::clamp(layout.columns / frames, 2, 8); }

std::string sheet_tileset_path(const std::string& sheet) {
    return std::filesystem::path(sheet).replace_extension(".tsx").string();
}

std::vector<std::pair<std::string, std::string>> sheet_engine_files(const RenderSettings& settings,
                                                                    const SheetLayout& layout,
                                                                    const std::vector<RenderedTile>& tiles) {
    const int count = static_cast<int>(tiles.size());
    // Moving water: each tile's frames fill the cells after its own.
    const int frames = std::max(1, settings.loop_frames);
    const std::string tileset_path = sheet_tileset_path(settings.sheet);
    std::vector<std::pair<std::string, std::string>> files;
    files.emplace_back(tileset_path, tiled_tileset(layout, count * frames, tiled_description(settings, tiles)));
    if (!settings.tmx.empty())
        files.emplace_back(settings.tmx, tiled_map(layout, count, path_from_file(settings.tmx, tileset_path),
                                                   sample_map_size(layout, frames), frames));
    if (!settings.godot.empty()) {
        GodotTileSet godot{path_from_file(settings.godot, settings.sheet), {}, {}, {}, {}};
        if (frames > 1) {
            godot.tiles.assign(tiles.size(), godot_animation_keys(frames, settings.frame_ms));
            godot.cell_stride = frames;
        }
        files.emplace_back(settings.godot, godot_tileset(layout, count, godot));
    }
    if (!settings.godot3.empty())
        files.emplace_back(settings.godot3,
                           godot3_tileset(layout, count, {std::filesystem::path(settings.sheet).stem().string(),
                                                          path_from_file(settings.godot3, settings.sheet), {}, {}}));
    return files;
}
