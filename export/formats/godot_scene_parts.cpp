#include "export/formats/godot_scene_parts.hpp"

#include "export/formats/markup_text.hpp"

#include <algorithm>
#include <charconv>
#include <limits>

GidTiles::GidTiles(const MapModel& map) {
    long long end = 0;
    for (const MapTileset& t : map.tilesets) end = std::max<long long>(end, t.first_gid + std::max(0, t.tile_count));
    tiles_.resize(static_cast<std::size_t>(end));
    // In order of first gid, so where tilesets overlap the later one wins, as in Tiled.
    std::vector<int> order(map.tilesets.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int>(k);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return map.tilesets[a].first_gid < map.tilesets[b].first_gid; });
    for (const int k : order) {
        const MapTileset& t = map.tilesets[k];
        if (t.columns <= 0 || t.first_gid < 1) continue;
        for (int id = 0; id < t.tile_count; ++id) tiles_[t.first_gid + id] = {k, id};
    }
}

std::optional<SceneTile> GidTiles::operator()(std::uint32_t gid) const {
    const std::uint32_t plain = gid & ~gid_flags;
    if (plain >= tiles_.size() || tiles_[plain].tileset < 0) return std::nullopt;
    SceneTile tile = tiles_[plain];
    tile.flip_h = gid & gid_flip_h;
    tile.flip_v = gid & gid_flip_v;
    tile.flip_d = gid & gid_flip_d;
    return tile;
}

namespace {
std::string gid_text(std::uint32_t gid) { return std::to_string(gid & ~gid_flags); }
}  // namespace

Problem godot_scene_problem(const MapModel& map, const std::vector<GodotSceneTileset>& tilesets) {
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
    const GidTiles tile_of(map);
    for (const auto& layer : map.layers) {
        if (const auto* tiles = std::get_if<MapTileLayer>(&layer)) {
            if (tiles->gids.size() != static_cast<std::size_t>(map.width) * map.height)
                return "layer \"" + tiles->name + "\" holds " + std::to_string(tiles->gids.size()) +
                       " cells, not the map's " + std::to_string(map.width) + " x " + std::to_string(map.height);
            for (const std::uint32_t gid : tiles->gids)
                if (gid != 0 && !tile_of(gid))
                    return "layer \"" + tiles->name + "\" holds gid " + gid_text(gid) + ", in no tileset";
        } else {
            for (const MapObject& object : std::get<MapObjectLayer>(layer).objects)
                if (!tile_of(object.gid))
                    return "object " + std::to_string(object.id) + " shows gid " + gid_text(object.gid) +
                           ", in no tileset";
        }
    }
    return std::nullopt;
}

std::vector<LayerPart> layer_parts(const MapModel& map, const GidTiles& tiles, const MapTileLayer& layer) {
    std::vector<LayerPart> parts(map.tilesets.size());
    for (std::size_t k = 0; k < layer.gids.size(); ++k)
        if (layer.gids[k] != 0)
            if (const auto tile = tiles(layer.gids[k])) parts[tile->tileset].cells.push_back(k);
    std::vector<LayerPart> used;
    for (std::size_t t = 0; t < parts.size(); ++t)
        if (!parts[t].cells.empty()) used.push_back({static_cast<int>(t), std::move(parts[t].cells)});
    return used;
}

bool tiles_overlap(const MapModel& map, const MapTileset& tileset) {
    return tileset.tile_width > map.tile_width || tileset.tile_height > map.tile_height;
}

StandingSprite standing_sprite(const MapModel& map, const MapObject& object, const SceneTile& tile, double top_x) {
    const MapTileset& t = map.tilesets[tile.tileset];
    StandingSprite s;
    // Tiled's isometric projection: x and y count tile heights along the
    // map's axes; cell (0, 0)'s top corner lies map height x W/2 from the left.
    // Worked out without dividing by the height first, so that whole points
    // stay whole.
    s.x = (object.x - object.y) * map.tile_width / (2.0 * map.tile_height) + top_x;
    s.y = (object.x + object.y) / 2.0;
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

std::array<double, 2> footprint_offset(const MapModel& map, const MapTileset& tileset) {
    return {(map.tile_width - tileset.tile_width) / 2.0, -map.tile_height / 2.0};
}

void write_footprint(std::ostream& out, const std::string& sprite, const MapObject& object, std::array<double, 2> foot,
                     const char* open, const char* close, const char* pad) {
    if (object.collision.empty()) return;
    const std::string body = sprite + "/footprint";
    out << "\n[node name=\"footprint\" type=\"StaticBody2D\" parent=" << godot_string(sprite) << "]\n"
        << "position = Vector2(" << pad << godot_number(foot[0]) << ", " << godot_number(foot[1]) << pad << ")\n";
    for (std::size_t k = 0; k < object.collision.size(); ++k) {
        out << "\n[node name=\"shape_" << k << "\" type=\"CollisionPolygon2D\" parent=" << godot_string(body)
            << "]\npolygon = " << open;
        for (std::size_t p = 0; p < object.collision[k].size(); ++p)
            out << (p ? ", " : "") << godot_number(object.collision[k][p][0]) << ", "
                << godot_number(object.collision[k][p][1]);
        out << close << "\n";
    }
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

UsedTilesets used_tilesets(const MapModel& map, const GidTiles& tile_of,
                           const std::vector<std::vector<LayerPart>>& parts) {
    UsedTilesets used;
    for (std::size_t k = 0; k < map.layers.size(); ++k) {
        for (const LayerPart& part : parts[k]) used.layered.insert(part.tileset);
        if (const auto* objects = std::get_if<MapObjectLayer>(&map.layers[k]))
            for (const MapObject& object : objects->objects)
                if (const auto tile = tile_of(object.gid)) used.drawn.insert(tile->tileset);
    }
    return used;
}
