#include "app/render/tile_sheet.hpp"

#include "canvas/drawing_context.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {
constexpr Colour frame_purple = rgb(128, 0, 128);

int round_up_even(int v) { return v + (v & 1); }
}  // namespace

SheetLayout lay_out_sheet(const std::vector<RenderedTile>& tiles, int iso_width, int columns, int spacing,
                          int margin) {
    SheetLayout layout;
    layout.diamond_width = iso_width;
    layout.diamond_height = iso_width / 2;
    // Around the anchor: the diamond at least, and whatever a tile paints.
    int left = iso_width / 2, right = iso_width / 2 + 1, up = iso_width / 4 + 1, down = iso_width / 4 + 1;
    for (const RenderedTile& tile : tiles) {
        left = std::max(left, tile.anchor_x);
        up = std::max(up, tile.anchor_y);
        right = std::max(right, tile.image.width() - tile.anchor_x);
        down = std::max(down, tile.image.height() - tile.anchor_y);
    }
    layout.cell_width = round_up_even(left + right);
    layout.cell_height = round_up_even(up + down);
    layout.anchor_x = left;
    layout.anchor_y = up;
    const int count = static_cast<int>(tiles.size());
    layout.columns = columns > 0 ? std::min(columns, count)
                                 : std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count)))));
    layout.rows = (count + layout.columns - 1) / layout.columns;
    layout.spacing = spacing;
    layout.margin = margin;
    layout.width = 2 * margin + layout.columns * layout.cell_width + (layout.columns - 1) * spacing;
    layout.height = 2 * margin + layout.rows * layout.cell_height + (layout.rows - 1) * spacing;
    return layout;
}

Sheet compose_sheet(const std::vector<RenderedTile>& tiles, const SheetLayout& layout, bool frames) {
    Sheet sheet{RasterImage(layout.width, layout.height),
                std::vector<std::uint8_t>(static_cast<std::size_t>(layout.width) * layout.height, 0)};
    for (std::size_t k = 0; k < tiles.size(); ++k) {
        const RenderedTile& tile = tiles[k];
        const int x0 = layout.cell_x(static_cast<int>(k)) + layout.anchor_x - tile.anchor_x;
        const int y0 = layout.cell_y(static_cast<int>(k)) + layout.anchor_y - tile.anchor_y;
        for (int y = 0; y < tile.image.height(); ++y)
            for (int x = 0; x < tile.image.width(); ++x) {
                const std::uint8_t a = tile.alpha.empty() ? 255 : tile.alpha[static_cast<std::size_t>(y) * tile.image.width() + x];
                if (a == 0) continue;
                sheet.image.set_pixel(x0 + x, y0 + y, tile.image.pixel(x, y));
                sheet.alpha[static_cast<std::size_t>(y0 + y) * layout.width + x0 + x] = a;
            }
        if (frames) {
            DrawingContext dc(sheet.image);
            dc.set_drawing_mode(DrawingMode::Outlined);
            const int cx = layout.cell_x(static_cast<int>(k)), cy = layout.cell_y(static_cast<int>(k));
            dc.box(cx, cy, layout.cell_width, layout.cell_height, frame_purple);
            for (int x = cx; x < cx + layout.cell_width; ++x)
                for (int y : {cy, cy + layout.cell_height - 1}) sheet.alpha[static_cast<std::size_t>(y) * layout.width + x] = 255;
            for (int y = cy; y < cy + layout.cell_height; ++y)
                for (int x : {cx, cx + layout.cell_width - 1}) sheet.alpha[static_cast<std::size_t>(y) * layout.width + x] = 255;
        }
    }
    return sheet;
}

std::string tiled_tileset(const SheetLayout& l, int tile_count, const std::string& name,
                          const std::string& image_file, bool bmp) {
    // Bottom-left of the image at the bottom-left of the diamond's box, then
    // the offset: the anchor lands on the diamond's centre.
    const int offset_x = l.diamond_width / 2 - l.anchor_x;
    const int offset_y = l.cell_height - l.diamond_height / 2 - l.anchor_y;
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<tileset version=\"1.8\" tiledversion=\"1.8.2\" name=\"" << name << "\" tilewidth=\"" << l.cell_width
        << "\" tileheight=\"" << l.cell_height << "\" spacing=\"" << l.spacing << "\" margin=\"" << l.margin
        << "\" tilecount=\"" << tile_count << "\" columns=\"" << l.columns << "\">\n"
        << " <tileoffset x=\"" << offset_x << "\" y=\"" << offset_y << "\"/>\n"
        << " <grid orientation=\"isometric\" width=\"" << l.diamond_width << "\" height=\"" << l.diamond_height << "\"/>\n"
        << " <image source=\"" << image_file << "\"" << (bmp ? " trans=\"000000\"" : "") << " width=\"" << l.width
        << "\" height=\"" << l.height << "\"/>\n"
        << "</tileset>\n";
    return out.str();
}

std::string tiled_map(const SheetLayout& l, int tile_count, const std::string& tileset_file, int map_size) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<map version=\"1.8\" tiledversion=\"1.8.2\" orientation=\"isometric\" renderorder=\"right-down\" width=\""
        << map_size << "\" height=\"" << map_size << "\" tilewidth=\"" << l.diamond_width << "\" tileheight=\""
        << l.diamond_height << "\" infinite=\"0\" nextlayerid=\"2\" nextobjectid=\"1\">\n"
        << " <tileset firstgid=\"1\" source=\"" << tileset_file << "\"/>\n"
        << " <layer id=\"1\" name=\"Tiles\" width=\"" << map_size << "\" height=\"" << map_size << "\">\n"
        << "  <data encoding=\"csv\">\n";
    for (int row = 0; row < map_size; ++row) {
        for (int column = 0; column < map_size; ++column) {
            out << 1 + (row * map_size + column) % tile_count;
            if (row + 1 < map_size || column + 1 < map_size) out << ',';
        }
        out << '\n';
    }
    out << "</data>\n </layer>\n</map>\n";
    return out.str();
}

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
