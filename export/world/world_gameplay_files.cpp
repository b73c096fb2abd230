#include "export/world/world_gameplay_files.hpp"

#include "export/formats/godot_scene_parts.hpp"
#include "export/formats/markup_text.hpp"

#include <map>

namespace {
// Where the diamond's centre lies on the tile's image: where Tiled and
// Godot 3 put it on the cell's centre (tiled_files.hpp, godot3_files.hpp).
GameplayPoint image_centre(const SheetLayout& l) {
    return {l.anchor_x + 1.0, l.anchor_y + l.diamond_height / 2.0 - l.anchor_box_row()};
}

std::string points(const GameplayPolygon& polygon, double dx, double dy, const char* between) {
    std::string out;
    for (const GameplayPoint& p : polygon) {
        if (!out.empty()) out += between;
        out += godot_number(p[0] + dx) + (between[0] == ' ' ? "," : ", ") + godot_number(p[1] + dy);
    }
    return out;
}

// The vertices of a tile's navigation polygons and each polygon's indices.
std::pair<std::string, std::string> navigation_mesh(const std::vector<GameplayPolygon>& polygons, double dx, double dy,
                                                    const char* index_array) {
    std::string vertices, indices;
    int next = 0;
    for (const GameplayPolygon& polygon : polygons) {
        if (!vertices.empty()) vertices += ", ";
        vertices += points(polygon, dx, dy, ", ");
        indices += std::string(indices.empty() ? "" : ", ") + index_array + "(";
        for (std::size_t k = 0; k < polygon.size(); ++k) indices += (k ? ", " : "") + std::to_string(next++);
        indices += ")";
    }
    return {vertices, indices};
}

const char* const custom_layers[] = {"walkable", "terrain", "water", "slope"};
}  // namespace

std::vector<TiledProperty> tiled_gameplay_properties(const WorldTileFacts& f, bool terrain_tile) {
    std::vector<TiledProperty> out{{"walkable", "bool", f.walkable ? "true" : "false"}};
    if (!terrain_tile) return out;
    out.push_back({"terrain", "", f.terrain});
    out.push_back({"water", "", f.water});
    if (!f.slope.empty()) out.push_back({"slope", "", f.slope});
    if (f.road) out.push_back({"road", "bool", "true"});
    return out;
}

std::string tiled_collision_element(const WorldTileFacts& f, const SheetLayout& layout) {
    if (f.collision.empty()) return {};
    const GameplayPoint centre = image_centre(layout);
    std::string out = "  <objectgroup draworder=\"index\" id=\"2\">\n";
    int id = 1;
    for (const GameplayPolygon& polygon : f.collision)
        out += "   <object id=\"" + std::to_string(id++) + "\" type=\"collision\" x=\"" + godot_number(centre[0]) +
               "\" y=\"" + godot_number(centre[1]) + "\">\n    <polygon points=\"" + points(polygon, 0, 0, " ") +
               "\"/>\n   </object>\n";
    return out + "  </objectgroup>\n";
}

GodotGameplay godot_gameplay(const std::vector<WorldTileFacts>& facts, const std::vector<int>& alternatives,
                             bool terrain_tiles) {
    GodotGameplay out;
    out.tileset = {{"physics_layer_0/collision_layer", "1"}, {"navigation_layer_0/layers", "1"}};
    const int layers = terrain_tiles ? 4 : 1;
    for (int k = 0; k < layers; ++k) {
        out.tileset.push_back({"custom_data_layer_" + std::to_string(k) + "/name", godot_string(custom_layers[k])});
        // Variant types: 1 a bool, 4 a String.
        out.tileset.push_back({"custom_data_layer_" + std::to_string(k) + "/type", k == 0 ? "1" : "4"});
    }
    std::map<std::string, std::string> meshes;  // a NavigationPolygon's text -> its id
    out.tiles.resize(facts.size());
    for (std::size_t t = 0; t < facts.size(); ++t) {
        const WorldTileFacts& f = facts[t];
        GodotKeys keys;
        keys.push_back({"custom_data_0", f.walkable ? "true" : "false"});
        if (terrain_tiles) {
            keys.push_back({"custom_data_1", godot_string(f.terrain)});
            keys.push_back({"custom_data_2", godot_string(f.water)});
            if (!f.slope.empty()) keys.push_back({"custom_data_3", godot_string(f.slope)});
        }
        for (std::size_t p = 0; p < f.collision.size(); ++p)
            keys.push_back({"physics_layer_0/polygon_" + std::to_string(p) + "/points",
                            "PackedVector2Array(" + points(f.collision[p], 0, 0, ", ") + ")"});
        if (!f.navigation.empty()) {
            const auto [vertices, indices] = navigation_mesh(f.navigation, 0, 0, "PackedInt32Array");
            const std::string body = "vertices = PackedVector2Array(" + vertices +
                                     ")\npolygons = Array[PackedInt32Array]([" + indices + "])\n";
            auto [it, added] = meshes.emplace(body, "NavigationPolygon_" + std::to_string(meshes.size() + 1));
            if (added)
                out.resources.push_back("[sub_resource type=\"NavigationPolygon\" id=\"" + it->second + "\"]\n" + body);
            keys.push_back({"navigation_layer_0/polygon", "SubResource(\"" + it->second + "\")"});
        }
        const int alternatives_here = t < alternatives.size() ? alternatives[t] : 0;
        for (int a = 0; a <= alternatives_here; ++a)
            for (const auto& [key, value] : keys) out.tiles[t].push_back({std::to_string(a) + "/" + key, value});
    }
    return out;
}

Godot3Gameplay godot3_gameplay(const std::vector<WorldTileFacts>& facts, const SheetLayout& layout, int first_id) {
    Godot3Gameplay out;
    // Godot 3 places a tile's shapes and navigation polygon from the top-left
    // of the cell's diamond box (an isometric TileMap's draw offset, less the
    // tile's tex_offset), so the diamond's centre lies at (W/2, H/2).
    const double dx = layout.diamond_width / 2.0, dy = layout.diamond_height / 2.0;
    std::map<std::string, int> resources;  // a resource's text -> its id
    auto resource = [&](const std::string& type, const std::string& body) {
        auto [it, added] = resources.emplace(type + body, first_id + static_cast<int>(resources.size()));
        if (added)
            out.resources.push_back("[sub_resource type=\"" + type + "\" id=" + std::to_string(it->second) + "]\n" +
                                    body);
        return "SubResource( " + std::to_string(it->second) + " )";
    };
    out.tiles.resize(facts.size());
    for (std::size_t t = 0; t < facts.size(); ++t) {
        const WorldTileFacts& f = facts[t];
        if (!f.collision.empty()) {
            std::string shapes = "[ ";
            for (std::size_t p = 0; p < f.collision.size(); ++p)
                shapes += std::string(p ? ", " : "") +
                          "{\n\"autotile_coord\": Vector2( 0, 0 ),\n\"one_way\": false,\n" +
                          "\"one_way_margin\": 1.0,\n\"shape\": " +
                          resource("ConvexPolygonShape2D",
                                   "points = PoolVector2Array( " + points(f.collision[p], dx, dy, ", ") + " )\n") +
                          ",\n\"shape_transform\": Transform2D( 1, 0, 0, 1, 0, 0 )\n}";
            out.tiles[t].push_back({"shapes", shapes + " ]"});
        }
        if (!f.navigation.empty()) {
            const auto [vertices, indices] = navigation_mesh(f.navigation, dx, dy, "PoolIntArray");
            out.tiles[t].push_back(
                {"navigation", resource("NavigationPolygon", "vertices = PoolVector2Array( " + vertices +
                                                                 " )\npolygons = [ " + indices + " ]\n")});
        }
    }
    const bool terrain_tiles = !facts.empty() && !facts.front().terrain.empty();
    std::string meta = "{\n";
    for (int layer = 0; layer < (terrain_tiles ? 4 : 1); ++layer) {
        meta += std::string(layer ? ",\n" : "") + godot_string(custom_layers[layer]) + ": [ ";
        for (std::size_t t = 0; t < facts.size(); ++t) {
            const WorldTileFacts& f = facts[t];
            meta += t ? ", " : "";
            meta += layer == 0   ? (f.walkable ? "true" : "false")
                    : layer == 1 ? godot_string(f.terrain)
                    : layer == 2 ? godot_string(f.water)
                                 : godot_string(f.slope);
        }
        meta += " ]";
    }
    out.tileset.push_back({"__meta__", meta + "\n}"});
    return out;
}
