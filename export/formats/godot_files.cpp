#include "export/formats/godot_files.hpp"

#include "export/formats/markup_text.hpp"

#include <sstream>

std::string godot_tileset(const SheetLayout& l, int tile_count, const GodotTileSet& tileset) {
    const bool lit = !tileset.normal_image.empty();
    std::ostringstream out;
    // One step for each resource and one for the TileSet itself.
    out << "[gd_resource type=\"TileSet\" load_steps=" << 3 + (lit ? 2 : 0) + tileset.resources.size()
        << " format=3]\n\n"
        << "[ext_resource type=\"Texture2D\" path=" << godot_string(tileset.image) << " id=\"1_sheet\"]\n\n";
    if (lit)
        out << "[ext_resource type=\"Texture2D\" path=" << godot_string(tileset.normal_image)
            << " id=\"2_normal\"]\n\n";
    for (const std::string& resource : tileset.resources) out << resource << "\n";
    if (lit)
        out << "[sub_resource type=\"CanvasTexture\" id=\"CanvasTexture_1\"]\n"
            << "diffuse_texture = ExtResource(\"1_sheet\")\n"
            << "normal_texture = ExtResource(\"2_normal\")\n\n";
    out << "[sub_resource type=\"TileSetAtlasSource\" id=\"TileSetAtlasSource_1\"]\n"
        << "texture = " << (lit ? "SubResource(\"CanvasTexture_1\")" : "ExtResource(\"1_sheet\")") << "\n"
        << "margins = Vector2i(" << l.margin << ", " << l.margin << ")\n"
        << "separation = Vector2i(" << l.spacing << ", " << l.spacing << ")\n"
        << "texture_region_size = Vector2i(" << l.cell_width << ", " << l.cell_height << ")\n";
    for (const auto& [key, value] : tileset.atlas) out << key << " = " << value << "\n";
    const int origin_x = l.anchor_x + 1 - l.cell_width / 2;
    // The cell's centre lies diamond_height / 2 below its top corner; when
    // that is odd it falls between rows and the tile half a pixel low.
    const int origin_y = l.anchor_y + l.diamond_height / 2 - l.anchor_box_row() - l.cell_height / 2;
    for (int k = 0; k < tile_count; ++k) {
        const int cell = k * tileset.cell_stride;
        const std::string tile = std::to_string(cell % l.columns) + ":" + std::to_string(cell / l.columns) + "/";
        const int alternatives = k < static_cast<int>(tileset.alternatives.size()) ? tileset.alternatives[k] : 0;
        for (int a = 0; a <= alternatives; ++a)
            out << tile << a << " = " << a << "\n"
                << tile << a << "/texture_origin = Vector2i(" << origin_x << ", " << origin_y << ")\n";
        if (k < static_cast<int>(tileset.tiles.size()))
            for (const auto& [key, value] : tileset.tiles[k]) out << tile << key << " = " << value << "\n";
    }
    out << "\n[resource]\n"
        << "tile_shape = 1\n"
        << "tile_layout = 5\n"
        << "tile_size = Vector2i(" << l.diamond_width << ", " << l.diamond_height << ")\n";
    // Before the source: Godot renumbers the terrain sets its tiles name
    // when a set is added to a TileSet that already holds them.
    for (const auto& [key, value] : tileset.tileset) out << key << " = " << value << "\n";
    out << "sources/0 = SubResource(\"TileSetAtlasSource_1\")\n";
    return out.str();
}
