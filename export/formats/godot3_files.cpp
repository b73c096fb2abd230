#include "export/formats/godot3_files.hpp"

#include "export/formats/markup_text.hpp"

#include <sstream>

std::string godot3_tileset(const SheetLayout& l, int tile_count, const Godot3TileSet& tileset) {
    std::ostringstream out;
    out << "[gd_resource type=\"TileSet\" load_steps=" << 2 + tileset.resources.size() << " format=2]\n\n"
        << "[ext_resource path=" << godot_string(tileset.image) << " type=\"Texture\" id=1]\n\n";
    for (const std::string& resource : tileset.resources) out << resource << "\n";
    out << "[resource]\n";
    const int offset_x = l.diamond_width / 2 - l.anchor_x - 1;
    const int offset_y = l.anchor_box_row() - l.anchor_y;
    for (int k = 0; k < tile_count; ++k) {
        const std::string tile = std::to_string(k) + "/";
        const int cell = k * tileset.cell_stride;
        out << tile << "name = " << godot_string(tileset.name + " " + std::to_string(k)) << "\n"
            << tile << "texture = ExtResource( 1 )\n"
            << tile << "tex_offset = Vector2( " << offset_x << ", " << offset_y << " )\n"
            << tile << "region = Rect2( " << l.cell_x(cell) << ", " << l.cell_y(cell) << ", " << l.cell_width << ", "
            << l.cell_height << " )\n"
            << tile << "tile_mode = 0\n";
        if (k < static_cast<int>(tileset.tiles.size()))
            for (const auto& [key, value] : tileset.tiles[k]) out << tile << key << " = " << value << "\n";
    }
    for (const auto& [key, value] : tileset.tileset) out << key << " = " << value << "\n";
    return out.str();
}
