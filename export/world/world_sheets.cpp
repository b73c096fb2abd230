#include "export/world/world_sheets.hpp"

#include "export/formats/animation_files.hpp"
#include "export/formats/godot3_files.hpp"
#include "export/formats/godot_files.hpp"
#include "export/formats/lighting_map_files.hpp"
#include "export/formats/markup_text.hpp"
#include "export/formats/tile_encoding.hpp"
#include "export/formats/tiled_files.hpp"
#include "export/formats/world_file_names.hpp"
#include "export/world/world_gameplay_files.hpp"
#include "export/world/world_terrain_sets.hpp"
#include "export/tile/tile_frames.hpp"

#include <sstream>

namespace {
std::string as_text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
}  // namespace

Problem compose_world_sheet(WorldSheet& s, int iso_width) {
    const std::vector<RenderedTile> frame_tiles = s.frames > 1 ? frame_cells(s.tiles) : std::vector<RenderedTile>{};
    const std::vector<RenderedTile>& cells = s.frames > 1 ? frame_tiles : s.tiles;
    const int count = static_cast<int>(s.tiles.size());
    const int columns = s.frames > 1 ? frame_sheet_columns(0, count, s.frames) : 0;
    s.layout = lay_out_sheet(cells, iso_width, columns, 0, 0);
    if (s.layout.width > largest_sheet_side || s.layout.height > largest_sheet_side ||
        static_cast<long long>(s.layout.width) * s.layout.height > largest_sheet_pixels)
        return "the world's sheet " + s.image_file() + " would be " + std::to_string(s.layout.width) + " x " +
               std::to_string(s.layout.height) +
               " pixels, more than an engine opens readily: use fewer --variants "
               "or a smaller --iso-width";
    s.sheet = compose_sheet(cells, s.layout, false);
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> world_sheet_files(const WorldSheet& s, const TileDrawing& run,
                                                                   const std::vector<std::string>& terrain_names,
                                                                   const std::vector<Colour>& terrain_colours) {
    const int count = static_cast<int>(s.tiles.size());
    const std::string image = s.image_file(), normals = lighting_map_file_name(image, "_n.png");
    std::vector<std::pair<std::string, std::string>> files;
    files.emplace_back(image, as_text(encode_image(s.sheet.image, &s.sheet.alpha, true)));

    TiledTileset tiled{s.stem, image, false, {}, {}, {}};
    GodotTileSet godot{image, {}, {}, {}, {}};
    const bool facts = !s.facts.empty(), terrain_tiles = !s.keys.empty();
    for (int k = 0; k < count; ++k) {
        tiled.tiles.push_back({k * s.frames, {{"name", "", s.tile_names[k]}}, {}});
        if (facts) {
            for (TiledProperty& p : tiled_gameplay_properties(s.facts[k], terrain_tiles))
                tiled.tiles.back().properties.push_back(std::move(p));
            if (std::string shapes = tiled_collision_element(s.facts[k], s.layout); !shapes.empty())
                tiled.tiles.back().elements.push_back(std::move(shapes));
        }
        if (s.frames > 1) tiled.tiles.back().elements.push_back(tiled_animation(k * s.frames, s.frames, run.frame_ms));
    }
    const WorldTerrainSets sets = world_terrain_sets(s.keys, s.frames, terrain_names, terrain_colours);
    if (!sets.tiled.empty()) tiled.elements.push_back(sets.tiled);
    if (run.normals) {
        tiled.properties.push_back({"normal_map", "file", normals});
        godot.normal_image = normals;
    }
    if (run.wants_surfaces()) {
        const std::vector<RenderedTile> frame_tiles = s.frames > 1 ? frame_cells(s.tiles) : std::vector<RenderedTile>{};
        const LightingMaps maps =
            compose_lighting_map_sheet(s.frames > 1 ? frame_tiles : s.tiles, s.layout, s.sheet.image);
        for (const LightingMapFile& map : encode_lighting_map_files(run, s.sheet.image, &s.sheet.alpha, maps)) {
            files.emplace_back(lighting_map_file_name(image, map.suffix), as_text(map.bytes));
            if (map.suffix == "_n.png") files.emplace_back(world_godot3_path(normals), files.back().second);
        }
    }
    files.emplace_back(s.tileset_file(), tiled_tileset(s.layout, tiled));
    godot.tileset = sets.godot_tileset;
    godot.alternatives = sets.godot_alternatives;
    godot.tiles.resize(s.tiles.size());
    for (std::size_t k = 0; k < s.tiles.size(); ++k) {
        if (s.frames > 1) godot.tiles[k] = godot_animation_keys(s.frames, run.frame_ms);
        if (k < sets.godot_tiles.size())  // a sheet of objects has none
            godot.tiles[k].insert(godot.tiles[k].end(), sets.godot_tiles[k].begin(), sets.godot_tiles[k].end());
    }
    if (facts) {
        GodotGameplay play = godot_gameplay(s.facts, sets.godot_alternatives, terrain_tiles);
        godot.tileset.insert(godot.tileset.end(), play.tileset.begin(), play.tileset.end());
        godot.resources.insert(godot.resources.end(), play.resources.begin(), play.resources.end());
        for (std::size_t k = 0; k < s.tiles.size(); ++k)
            godot.tiles[k].insert(godot.tiles[k].end(), play.tiles[k].begin(), play.tiles[k].end());
    }
    godot.cell_stride = s.frames;
    files.emplace_back(s.godot_file(), godot_tileset(s.layout, count, godot));
    // A Godot 3 tile shows one region of one texture (an AnimatedTexture
    // cannot take regions of a sheet), so moving water there is its frame 0.
    Godot3TileSet godot3{s.stem, image, {}, {}, s.frames};
    if (run.normals) {
        godot3.resources.push_back("[ext_resource path=" + godot_string(normals) + " type=\"Texture\" id=2]\n");
        godot3.tiles.assign(s.tiles.size(), {{"normal_map", "ExtResource( 2 )"}});
    }
    if (facts) {
        Godot3Gameplay play = godot3_gameplay(s.facts, s.layout, 1);
        godot3.resources.insert(godot3.resources.end(), play.resources.begin(), play.resources.end());
        godot3.tileset = play.tileset;
        godot3.tiles.resize(s.tiles.size());
        for (std::size_t k = 0; k < s.tiles.size(); ++k)
            godot3.tiles[k].insert(godot3.tiles[k].end(), play.tiles[k].begin(), play.tiles[k].end());
    }
    files.emplace_back(s.godot3_file(), godot3_tileset(s.layout, count, godot3));
    files.emplace_back(world_godot3_path(image), files.front().second);  // the sheet itself, for Godot 3 alone
    return files;
}
