#include "export/formats/tiled_files.hpp"

#include "export/formats/markup_text.hpp"

#include <sstream>

std::string tiled_properties(const std::vector<TiledProperty>& properties, const std::string& indent) {
    if (properties.empty()) return {};
    std::string out = indent + "<properties>\n";
    for (const TiledProperty& p : properties) {
        out += indent + " <property name=\"" + xml_attribute_text(p.name) + "\"";
        if (!p.type.empty()) out += " type=\"" + xml_attribute_text(p.type) + "\"";
        out += " value=\"" + xml_attribute_text(p.value) + "\"/>\n";
    }
    return out + indent + "</properties>\n";
}

TiledOffset tiled_tile_offset(const SheetLayout& l) {
    return {l.diamond_width / 2 - l.anchor_x - 1, l.cell_height - l.diamond_height + l.anchor_box_row() - l.anchor_y};
}

std::string tiled_tileset(const SheetLayout& l, const TiledTileset& tileset) {
    // Tiled cuts every cell of the grid from the image, blank ones too, and
    // counts them so: say the same.
    const int tile_count = l.columns * l.rows;
    const auto [offset_x, offset_y] = tiled_tile_offset(l);
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<tileset version=\"1.8\" tiledversion=\"1.8.2\" name=\"" << xml_attribute_text(tileset.name)
        << "\" tilewidth=\"" << l.cell_width << "\" tileheight=\"" << l.cell_height << "\" spacing=\"" << l.spacing
        << "\" margin=\"" << l.margin << "\" tilecount=\"" << tile_count << "\" columns=\"" << l.columns
        << "\" objectalignment=\"bottom\">\n"
        << " <tileoffset x=\"" << offset_x << "\" y=\"" << offset_y << "\"/>\n"
        << " <grid orientation=\"isometric\" width=\"" << l.diamond_width << "\" height=\"" << l.diamond_height
        << "\"/>\n"
        << tiled_properties(tileset.properties, " ")  // Tiled reads them before the image
        << " <image source=\"" << xml_attribute_text(tileset.image) << "\""
        << (tileset.colour_key ? " trans=\"000000\"" : "") << " width=\"" << l.width << "\" height=\"" << l.height
        << "\"/>\n";
    for (const TiledTile& tile : tileset.tiles) {
        out << " <tile id=\"" << tile.id << "\">\n" << tiled_properties(tile.properties, "  ");
        for (const std::string& element : tile.elements) out << element;
        out << " </tile>\n";
    }
    for (const std::string& element : tileset.elements) out << element;
    out << "</tileset>\n";
    return out.str();
}

std::string tiled_map(const SheetLayout& l, int tile_count, const std::string& tileset_file, int map_size,
                      int id_stride) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<map version=\"1.8\" tiledversion=\"1.8.2\" orientation=\"isometric\" renderorder=\"right-down\" width=\""
        << map_size << "\" height=\"" << map_size << "\" tilewidth=\"" << l.diamond_width << "\" tileheight=\""
        << l.diamond_height << "\" infinite=\"0\" nextlayerid=\"2\" nextobjectid=\"1\">\n"
        << " <tileset firstgid=\"1\" source=\"" << xml_attribute_text(tileset_file) << "\"/>\n"
        << " <layer id=\"1\" name=\"Tiles\" width=\"" << map_size << "\" height=\"" << map_size << "\">\n"
        << "  <data encoding=\"csv\">\n";
    for (int row = 0; row < map_size; ++row) {
        for (int column = 0; column < map_size; ++column) {
            out << 1 + (row * map_size + column) % tile_count * id_stride;
            if (row + 1 < map_size || column + 1 < map_size) out << ',';
        }
        out << '\n';
    }
    out << "</data>\n </layer>\n</map>\n";
    return out.str();
}
