#include "export/formats/world_godot3.hpp"

#include "export/formats/markup_text.hpp"

#include <charconv>
#include <map>
#include <set>
#include <sstream>

namespace {
// Godot 3 keeps a cell's flips in its tile id's top bits.
constexpr std::uint32_t flip_h = 1u << 29, flip_v = 1u << 30, transpose = 1u << 31;

std::string vector2(double x, double y) { return "Vector2( " + godot_number(x) + ", " + godot_number(y) + " )"; }

void put_number(std::string& out, std::int32_t value) {
    char text[12];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// One cell of tile_data (format 1): its place, x and y as 16-bit halves;
// its tile id and flips; its autotile coordinates (none here).
void put_cell(std::string& out, int x, int y, std::uint32_t tile) {
    out += out.empty() ? " " : ", ";
    put_number(
        out, static_cast<std::int32_t>(static_cast<std::uint32_t>(y) << 16 | (static_cast<std::uint32_t>(x) & 0xffff)));
    out += ", ";
    put_number(out, static_cast<std::int32_t>(tile));
    out += ", 0";
}

// Godot 3 keeps a node's metadata in one dictionary.
void write_meta(std::ostream& out, const std::vector<MapProperty>& properties) {
    for (std::size_t k = 0; k < properties.size(); ++k)
        out << (k == 0 ? "__meta__ = {\n" : ",\n") << godot_string(properties[k].name) << ": " << properties[k].value
            << (k + 1 == properties.size() ? "\n}\n" : "");
}

struct Resources {
    std::map<int, int> tilesets, textures, normals;  // tileset index -> ext_resource id
    std::ostringstream ext;
    int count = 0;
    int add(const std::string& path, const char* type) {
        ext << "[ext_resource path=" << godot_string(path) << " type=\"" << type << "\" id=" << ++count << "]\n";
        return count;
    }
};

Resources scene_resources(const MapModel& map, const GidTiles& tile_of,
                          const std::vector<std::vector<LayerPart>>& parts,
                          const std::vector<GodotSceneTileset>& files) {
    const auto [layered, drawn] = used_tilesets(map, tile_of, parts);
    Resources r;
    for (const int t : layered) r.tilesets[t] = r.add(files[t].tileset, "TileSet");
    for (const int t : drawn) {
        r.textures[t] = r.add(files[t].image, "Texture");
        if (!files[t].normal_image.empty()) r.normals[t] = r.add(files[t].normal_image, "Texture");
    }
    return r;
}

void write_tile_layer(std::ostream& out, const MapModel& map, const GidTiles& tile_of, const MapTileLayer& layer,
                      const std::vector<LayerPart>& parts, const std::vector<GodotSceneTileset>& files,
                      const Resources& r, std::set<std::string>& names) {
    for (const LayerPart& part : parts) {
        const MapTileset& set = map.tilesets[part.tileset];
        const std::string name = parts.size() == 1 ? layer.name : layer.name + "_" + set.name;
        out << "\n[node name=" << godot_string(node_name(name, names)) << " type=\"TileMap\" parent=\".\"]\n";
        if (layer.offset_x != 0 || layer.offset_y != 0)
            out << "position = " << vector2(layer.offset_x, layer.offset_y) << "\n";
        out << "mode = 1\n"
            << "tile_set = ExtResource( " << r.tilesets.at(part.tileset) << " )\n"
            << "cell_size = " << vector2(map.tile_width, map.tile_height) << "\n";
        // Tall tiles overlap the cells above: drawn by rows down the screen, as in Tiled.
        if (tiles_overlap(map, set)) out << "cell_y_sort = true\n";
        std::string data;
        data.reserve(part.cells.size() * 24);
        for (const std::size_t k : part.cells) {
            const SceneTile tile = *tile_of(layer.gids[k]);
            const std::uint32_t id = static_cast<std::uint32_t>(tile.id / files[part.tileset].cell_stride) |
                                     (tile.flip_h ? flip_h : 0) | (tile.flip_v ? flip_v : 0) |
                                     (tile.flip_d ? transpose : 0);
            put_cell(data, static_cast<int>(k % map.width), static_cast<int>(k / map.width), id);
        }
        out << "format = 1\ntile_data = PoolIntArray(" << data << (data.empty() ? ")\n" : " )\n");
        write_meta(out, layer.properties);
    }
}

void write_object_layer(std::ostream& out, const MapModel& map, const GidTiles& tile_of, const MapObjectLayer& layer,
                        const Resources& r, std::set<std::string>& names) {
    const std::string parent = node_name(layer.name, names);
    out << "\n[node name=" << godot_string(parent) << " type=\"YSort\" parent=\".\"]\n";
    if (layer.offset_x != 0 || layer.offset_y != 0)
        out << "position = " << vector2(layer.offset_x, layer.offset_y) << "\n";
    std::set<std::string> sprites;
    for (const MapObject& object : layer.objects) {
        const auto tile = tile_of(object.gid);
        if (!tile) continue;
        // Cell (0, 0)'s top corner lies at the origin in Godot 3.
        const StandingSprite s = standing_sprite(map, object, *tile, 0);
        const std::string& what = !object.name.empty() ? object.name : !object.type.empty() ? object.type : "object";
        const MapTileset& set = map.tilesets[tile->tileset];
        const std::string sprite = node_name(what + "_" + std::to_string(object.id), sprites);
        out << "\n[node name=" << godot_string(sprite) << " type=\"Sprite\" parent=" << godot_string(parent) << "]\n"
            << "position = " << vector2(s.x, s.y) << "\n";
        if (s.scale_x != 1 || s.scale_y != 1) out << "scale = " << vector2(s.scale_x, s.scale_y) << "\n";
        out << "texture = ExtResource( " << r.textures.at(tile->tileset) << " )\n";
        if (r.normals.count(tile->tileset))
            out << "normal_map = ExtResource( " << r.normals.at(tile->tileset) << " )\n";
        out << "centered = false\n"
            << "offset = " << vector2(s.offset_x, s.offset_y) << "\n";
        if (tile->flip_h) out << "flip_h = true\n";
        if (tile->flip_v) out << "flip_v = true\n";
        out << "region_enabled = true\n"
            << "region_rect = Rect2( " << s.region_x << ", " << s.region_y << ", " << set.tile_width << ", "
            << set.tile_height << " )\n";
        write_meta(out, object.properties);
        write_footprint(out, parent + "/" + sprite, object, footprint_offset(map, set), "PoolVector2Array( ", " )",
                        " ");
    }
}
}  // namespace

std::string godot3_world_scene(const MapModel& map, const std::vector<GodotSceneTileset>& tilesets) {
    const GidTiles tile_of(map);
    std::vector<std::vector<LayerPart>> parts(map.layers.size());
    for (std::size_t k = 0; k < map.layers.size(); ++k)
        if (const auto* tiles = std::get_if<MapTileLayer>(&map.layers[k])) parts[k] = layer_parts(map, tile_of, *tiles);
    Resources r = scene_resources(map, tile_of, parts, tilesets);
    std::ostringstream out;
    out << "[gd_scene load_steps=" << r.count + 1 << " format=2]\n\n" << r.ext.str();
    // A Navigation2D: the TileMaps' navigation polygons join into one mesh.
    out << "\n[node name=\"World\" type=\"Navigation2D\"]\n";
    std::set<std::string> names;
    for (std::size_t k = 0; k < map.layers.size(); ++k) {
        if (const auto* tiles = std::get_if<MapTileLayer>(&map.layers[k]))
            write_tile_layer(out, map, tile_of, *tiles, parts[k], tilesets, r, names);
        else write_object_layer(out, map, tile_of, std::get<MapObjectLayer>(map.layers[k]), r, names);
    }
    return out.str();
}
