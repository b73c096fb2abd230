#include "export/world/godot_scene_parts.hpp"

#include <charconv>
#include <cmath>
#include <limits>

std::optional<SceneTile> scene_tile(const MapModel& map, std::uint32_t gid) {
    SceneTile tile;
    tile.flip_h = gid & gid_flip_h;
    tile.flip_v = gid & gid_flip_v;
    tile.flip_d = gid & gid_flip_d;
    const std::uint32_t plain = gid & ~gid_flags;
    // The tileset with the largest first gid not above it, as Tiled reads it.
    for (int k = 0; k < static_cast<int>(map.tilesets.size()); ++k) {
        const MapTileset& t = map.tilesets[k];
        if (t.first_gid <= static_cast<long long>(plain) &&
            (tile.tileset < 0 || t.first_gid > map.tilesets[tile.tileset].first_gid))
            tile.tileset = k;
    }
    if (tile.tileset < 0) return std::nullopt;
    const MapTileset& t = map.tilesets[tile.tileset];
    tile.id = static_cast<int>(plain - t.first_gid);
    if (tile.id >= t.tile_count || t.columns <= 0) return std::nullopt;
    return tile;
}

namespace {
std::string gid_text(std::uint32_t gid) { return std::to_string(gid & ~gid_flags); }
}  // namespace

std::optional<std::string> godot_scene_problem(const MapModel& map, const std::vector<GodotSceneTileset>& tilesets) {
    if (tilesets.size() != map.tilesets.size())
        return "the map has " + std::to_string(map.tilesets.size()) + " tilesets but " +
               std::to_string(tilesets.size()) + " have Godot files";
    for (std::size_t k = 0; k < tilesets.size(); ++k)
        if (tilesets[k].tileset.empty() || tilesets[k].image.empty() || tilesets[k].cell_stride < 1)
            return "tileset \"" + map.tilesets[k].name + "\" has no Godot TileSet or sheet named";
    // Godot 4 stores a cell's coordinates as 16-bit numbers.
    constexpr int most_cells = std::numeric_limits<std::int16_t>::max() + 1;
    if (map.width > most_cells || map.height > most_cells)
        return "a Godot map holds at most " + std::to_string(most_cells) + " cells a side, not " +
               std::to_string(map.width) + " x " + std::to_string(map.height) + ": write it in chunks";
    for (const auto& layer : map.layers) {
        if (const auto* tiles = std::get_if<MapTileLayer>(&layer)) {
            for (const std::uint32_t gid : tiles->gids)
                if (gid != 0 && !scene_tile(map, gid))
                    return "layer \"" + tiles->name + "\" holds gid " + gid_text(gid) + ", in no tileset";
        } else {
            for (const MapObject& object : std::get<MapObjectLayer>(layer).objects)
                if (!scene_tile(map, object.gid))
                    return "object " + std::to_string(object.id) + " shows gid " + gid_text(object.gid) +
                           ", in no tileset";
        }
    }
    return std::nullopt;
}

std::vector<int> layer_tilesets(const MapModel& map, const MapTileLayer& layer) {
    std::vector<bool> used(map.tilesets.size(), false);
    for (const std::uint32_t gid : layer.gids)
        if (gid != 0)
            if (const auto tile = scene_tile(map, gid)) used[tile->tileset] = true;
    std::vector<int> out;
    for (int k = 0; k < static_cast<int>(used.size()); ++k)
        if (used[k]) out.push_back(k);
    return out;
}

bool tiles_overlap(const MapModel& map, const MapTileset& tileset) {
    return tileset.tile_width > map.tile_width || tileset.tile_height > map.tile_height;
}

StandingSprite standing_sprite(const MapModel& map, const MapObject& object, const SceneTile& tile, double top_x) {
    const MapTileset& t = map.tilesets[tile.tileset];
    StandingSprite s;
    // Tiled's isometric projection: x and y count tile heights along the
    // map's axes; cell (0, 0)'s top corner lies map height x W/2 from the left.
    const double along_x = object.x / map.tile_height, along_y = object.y / map.tile_height;
    s.x = (along_x - along_y) * map.tile_width / 2.0 + top_x;
    s.y = (along_x + along_y) * map.tile_height / 2.0;
    // Tiled stands the object's box on the point by its bottom centre
    // (the tilesets' object alignment), then moves the image by the
    // tileset's offset; both scale with the object's size.
    s.offset_x = -t.tile_width / 2.0 + t.offset_x;
    s.offset_y = -t.tile_height + t.offset_y;
    if (object.width > 0 && object.width != t.tile_width) s.scale_x = double(object.width) / t.tile_width;
    if (object.height > 0 && object.height != t.tile_height) s.scale_y = double(object.height) / t.tile_height;
    s.region_x = t.margin + tile.column(t) * (t.tile_width + t.spacing);
    s.region_y = t.margin + tile.row(t) * (t.tile_height + t.spacing);
    return s;
}

std::string node_name(const std::string& wanted, std::set<std::string>& taken) {
    std::string name;
    for (const char c : wanted) name += std::string_view(".:@/\"%").find(c) == std::string_view::npos ? c : '_';
    if (name.empty()) name = "node";
    std::string unique = name;
    for (int n = 2; taken.count(unique); ++n) unique = name + "_" + std::to_string(n);
    taken.insert(unique);
    return unique;
}

std::string godot_number(double value) {
    if (value == 0) return "0";  // never "-0"
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}
