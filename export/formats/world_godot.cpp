#include "export/formats/world_godot.hpp"

#include "export/formats/markup_text.hpp"

#include <map>
#include <set>
#include <sstream>

namespace {
// Godot's flips in an alternative tile's id.
constexpr int transform_flip_h = 1 << 12, transform_flip_v = 1 << 13, transform_transpose = 1 << 14;

void put_u16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xff));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xff));
}

std::string base64(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t k = 0; k < bytes.size(); k += 3) {
        const std::size_t left = bytes.size() - k;
        const std::uint32_t group = bytes[k] << 16 | (left > 1 ? bytes[k + 1] << 8 : 0) | (left > 2 ? bytes[k + 2] : 0);
        out += digits[group >> 18 & 63];
        out += digits[group >> 12 & 63];
        out += left > 1 ? digits[group >> 6 & 63] : '=';
        out += left > 2 ? digits[group & 63] : '=';
    }
    return out;
}

std::string vector2(double x, double y) { return "Vector2(" + godot_number(x) + ", " + godot_number(y) + ")"; }
std::string ext(const std::string& id) { return "ExtResource(\"" + id + "\")"; }

// The resources the scene names: each tileset's .tres as its layers need
// it, each sheet (and its normals) as its objects need it.
struct Resources {
    std::map<int, std::string> tilesets, textures;  // tileset index -> what a node's property says
    std::ostringstream ext, sub;
    int steps = 0;
};

Resources scene_resources(const MapModel& map, const GidTiles& tile_of,
                          const std::vector<std::vector<LayerPart>>& parts,
                          const std::vector<GodotSceneTileset>& files) {
    const auto [layered, drawn] = used_tilesets(map, tile_of, parts);
    Resources r;
    for (const int t : layered) {
        const std::string id = "tiles_" + std::to_string(t);
        r.ext << "[ext_resource type=\"TileSet\" path=" << godot_string(files[t].tileset) << " id=\"" << id << "\"]\n";
        r.tilesets[t] = ext(id);
        ++r.steps;
    }
    for (const int t : drawn) {
        const std::string id = "sheet_" + std::to_string(t);
        r.ext << "[ext_resource type=\"Texture2D\" path=" << godot_string(files[t].image) << " id=\"" << id << "\"]\n";
        r.textures[t] = ext(id);
        ++r.steps;
        if (files[t].normal_image.empty()) continue;
        // Lit like the tiles: a CanvasTexture of the colour and its normals.
        const std::string normal = "normal_" + std::to_string(t), lit = "lit_" + std::to_string(t);
        r.ext << "[ext_resource type=\"Texture2D\" path=" << godot_string(files[t].normal_image) << " id=\"" << normal
              << "\"]\n";
        r.sub << "\n[sub_resource type=\"CanvasTexture\" id=\"" << lit << "\"]\n"
              << "diffuse_texture = " << ext(id) << "\nnormal_texture = " << ext(normal) << "\n";
        r.textures[t] = "SubResource(\"" + lit + "\")";
        r.steps += 2;
    }
    return r;
}

void write_tile_layer(std::ostream& out, const MapModel& map, const GidTiles& tile_of, const MapTileLayer& layer,
                      const std::vector<LayerPart>& parts, const Resources& r, std::set<std::string>& names) {
    for (const LayerPart& part : parts) {
        const MapTileset& set = map.tilesets[part.tileset];
        std::vector<GodotCell> cells;
        cells.reserve(part.cells.size());
        for (const std::size_t k : part.cells) {
            const SceneTile tile = *tile_of(layer.gids[k]);
            const int alternative = (tile.flip_h ? transform_flip_h : 0) | (tile.flip_v ? transform_flip_v : 0) |
                                    (tile.flip_d ? transform_transpose : 0);
            cells.push_back({static_cast<int>(k % map.width), static_cast<int>(k / map.width), 0, tile.column(set),
                             tile.row(set), alternative});
        }
        const std::string name = parts.size() == 1 ? layer.name : layer.name + "_" + set.name;
        out << "\n[node name=" << godot_string(node_name(name, names)) << " type=\"TileMapLayer\" parent=\".\"]\n";
        if (layer.offset_x != 0 || layer.offset_y != 0)
            out << "position = " << vector2(layer.offset_x, layer.offset_y) << "\n";
        // Tall tiles overlap the cells above: drawn by rows down the screen, as in Tiled.
        if (tiles_overlap(map, set)) out << "y_sort_enabled = true\n";
        out << "tile_map_data = PackedByteArray(\"" << base64(godot_tile_map_data(cells)) << "\")\n"
            << "tile_set = " << r.tilesets.at(part.tileset) << "\n";
        for (const MapProperty& p : layer.properties) out << "metadata/" << p.name << " = " << p.value << "\n";
    }
}

void write_object_layer(std::ostream& out, const MapModel& map, const GidTiles& tile_of, const MapObjectLayer& layer,
                        const Resources& r, std::set<std::string>& names) {
    const std::string parent = node_name(layer.name, names);
    out << "\n[node name=" << godot_string(parent) << " type=\"Node2D\" parent=\".\"]\n";
    if (layer.offset_x != 0 || layer.offset_y != 0)
        out << "position = " << vector2(layer.offset_x, layer.offset_y) << "\n";
    out << "y_sort_enabled = true\n";
    std::set<std::string> sprites;
    for (const MapObject& object : layer.objects) {
        const auto tile = tile_of(object.gid);
        if (!tile) continue;
        // Cell (0, 0)'s top corner lies at (W/2, 0) in Godot 4.
        const StandingSprite s = standing_sprite(map, object, *tile, map.tile_width / 2.0);
        const std::string& what = !object.name.empty() ? object.name : !object.type.empty() ? object.type : "object";
        const MapTileset& set = map.tilesets[tile->tileset];
        const std::string sprite = node_name(what + "_" + std::to_string(object.id), sprites);
        out << "\n[node name=" << godot_string(sprite) << " type=\"Sprite2D\" parent=" << godot_string(parent) << "]\n"
            << "position = " << vector2(s.x, s.y) << "\n";
        if (s.scale_x != 1 || s.scale_y != 1) out << "scale = " << vector2(s.scale_x, s.scale_y) << "\n";
        out << "texture = " << r.textures.at(tile->tileset) << "\n"
            << "centered = false\n"
            << "offset = " << vector2(s.offset_x, s.offset_y) << "\n";
        if (tile->flip_h) out << "flip_h = true\n";
        if (tile->flip_v) out << "flip_v = true\n";
        out << "region_enabled = true\n"
            << "region_rect = Rect2(" << s.region_x << ", " << s.region_y << ", " << set.tile_width << ", "
            << set.tile_height << ")\n";
        for (const MapProperty& p : object.properties) out << "metadata/" << p.name << " = " << p.value << "\n";
        write_footprint(out, parent + "/" + sprite, object, footprint_offset(map, set), "PackedVector2Array(", ")", "");
    }
}
}  // namespace

std::vector<std::uint8_t> godot_tile_map_data(const std::vector<GodotCell>& cells) {
    std::vector<std::uint8_t> out;
    if (cells.empty()) return out;  // Godot's empty layer: no bytes at all
    out.reserve(2 + cells.size() * 12);
    put_u16(out, 0);
    for (const GodotCell& c : cells) {
        for (const int value : {c.x, c.y, c.source, c.column, c.row, c.alternative}) put_u16(out, value);
    }
    return out;
}

std::string godot_world_scene(const MapModel& map, const std::vector<GodotSceneTileset>& tilesets) {
    const GidTiles tile_of(map);
    std::vector<std::vector<LayerPart>> parts(map.layers.size());
    for (std::size_t k = 0; k < map.layers.size(); ++k)
        if (const auto* tiles = std::get_if<MapTileLayer>(&map.layers[k])) parts[k] = layer_parts(map, tile_of, *tiles);
    Resources r = scene_resources(map, tile_of, parts, tilesets);
    std::ostringstream out;
    // Format 4: byte arrays in base64, as Godot 4.3 writes TileMapLayers.
    out << "[gd_scene load_steps=" << r.steps + 1 << " format=4]\n\n" << r.ext.str() << r.sub.str();
    // Pixel art: every texture below drawn without smoothing.
    out << "\n[node name=\"World\" type=\"Node2D\"]\ntexture_filter = 1\n";
    std::set<std::string> names;
    for (std::size_t k = 0; k < map.layers.size(); ++k) {
        if (const auto* tiles = std::get_if<MapTileLayer>(&map.layers[k]))
            write_tile_layer(out, map, tile_of, *tiles, parts[k], r, names);
        else write_object_layer(out, map, tile_of, std::get<MapObjectLayer>(map.layers[k]), r, names);
    }
    return out.str();
}
