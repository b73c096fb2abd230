#include "export/godot_files.hpp"

#include <sstream>

std::string godot_tileset(const SheetLayout& l, int tile_count, const std::string& image_file) {
    std::ostringstream out;
    out << "[gd_resource type=\"TileSet\" load_steps=3 format=3]\n\n"
        << "[ext_resource type=\"Texture2D\" path=\"" << image_file << "\" id=\"1_sheet\"]\n\n"
        << "[sub_resource type=\"TileSetAtlasSource\" id=\"TileSetAtlasSource_1\"]\n"
        << "texture = ExtResource(\"1_sheet\")\n"
        << "margins = Vector2i(" << l.margin << ", " << l.margin << ")\n"
        << "separation = Vector2i(" << l.spacing << ", " << l.spacing << ")\n"
        << "texture_region_size = Vector2i(" << l.cell_width << ", " << l.cell_height << ")\n";
    const int origin_x = l.anchor_x - l.cell_width / 2;
    const int origin_y = l.anchor_y - l.cell_height / 2;
    for (int k = 0; k < tile_count; ++k) {
        const int column = k % l.columns, row = k / l.columns;
        out << column << ":" << row << "/0 = 0\n"
            << column << ":" << row << "/0/texture_origin = Vector2i(" << origin_x << ", " << origin_y << ")\n";
    }
    out << "\n[resource]\n"
        << "tile_shape = 1\n"
        << "tile_layout = 5\n"
        << "tile_size = Vector2i(" << l.diamond_width << ", " << l.diamond_height << ")\n"
        << "sources/0 = SubResource(\"TileSetAtlasSource_1\")\n";
    return out.str();
}
