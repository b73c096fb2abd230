#include "export/formats/godot_chunks.hpp"

#include "export/formats/markup_text.hpp"
#include "export/formats/godot_scene_parts.hpp"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

namespace {
// The chunks in drawing order: down the screen, then across.
std::vector<WorldChunkMap> down_the_screen(std::vector<WorldChunkMap> chunks) {
    std::stable_sort(chunks.begin(), chunks.end(), [](const WorldChunkMap& a, const WorldChunkMap& b) {
        return a.x0 + a.y0 != b.x0 + b.y0 ? a.x0 + a.y0 < b.x0 + b.y0 : a.x0 < b.x0;
    });
    return chunks;
}

struct Place {
    double x = 0, y = 0;
};
Place chunk_place(const WorldChunkMap& c, int tile_width, int tile_height) {
    return {(c.x0 - c.y0) * (tile_width / 2.0), (c.x0 + c.y0) * (tile_height / 2.0)};
}

std::string chunk_name(const WorldChunkMap& c, std::set<std::string>& taken) {
    return node_name(std::filesystem::path(c.file).stem().string(), taken);
}
}  // namespace

std::string godot_chunks_scene(const std::vector<WorldChunkMap>& chunks, int tile_width, int tile_height) {
    const std::vector<WorldChunkMap> order = down_the_screen(chunks);
    std::ostringstream out;
    out << "[gd_scene load_steps=" << order.size() + 1 << " format=3]\n\n";
    for (std::size_t k = 0; k < order.size(); ++k)
        out << "[ext_resource type=\"PackedScene\" path=" << godot_string(order[k].file) << " id=\"chunk_" << k
            << "\"]\n";
    out << "\n[node name=\"World\" type=\"Node2D\"]\n";
    std::set<std::string> names;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const Place p = chunk_place(order[k], tile_width, tile_height);
        out << "\n[node name=" << godot_string(chunk_name(order[k], names))
            << " parent=\".\" instance=ExtResource(\"chunk_" << k << "\")]\nposition = Vector2(" << godot_number(p.x)
            << ", " << godot_number(p.y) << ")\n";
    }
    return out.str();
}

std::string godot3_chunks_scene(const std::vector<WorldChunkMap>& chunks, int tile_width, int tile_height) {
    const std::vector<WorldChunkMap> order = down_the_screen(chunks);
    std::ostringstream out;
    out << "[gd_scene load_steps=" << order.size() + 1 << " format=2]\n\n";
    for (std::size_t k = 0; k < order.size(); ++k)
        out << "[ext_resource path=" << godot_string(order[k].file) << " type=\"PackedScene\" id=" << k + 1 << "]\n";
    out << "\n[node name=\"World\" type=\"Node2D\"]\n";
    std::set<std::string> names;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const Place p = chunk_place(order[k], tile_width, tile_height);
        out << "\n[node name=" << godot_string(chunk_name(order[k], names)) << " parent=\".\" instance=ExtResource( "
            << k + 1 << " )]\nposition = Vector2( " << godot_number(p.x) << ", " << godot_number(p.y) << " )\n";
    }
    return out.str();
}
