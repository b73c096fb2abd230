#include "export/formats/world_tmx.hpp"

#include "export/formats/markup_text.hpp"

#include <libdeflate.h>

#include <algorithm>
#include <charconv>
#include <memory>

namespace {
std::string base64(const std::vector<std::uint8_t>& bytes) {
    static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const std::uint32_t v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        out += {digits[v >> 18], digits[v >> 12 & 63], digits[v >> 6 & 63], digits[v & 63]};
    }
    if (const std::size_t rest = bytes.size() - i; rest > 0) {
        const std::uint32_t v = bytes[i] << 16 | (rest == 2 ? bytes[i + 1] << 8 : 0);
        out += {digits[v >> 18], digits[v >> 12 & 63], rest == 2 ? digits[v >> 6 & 63] : '=', '='};
    }
    return out;
}

// Tiled's layer data: the gids as little-endian 32-bit words, zlib-compressed.
std::string layer_data(const std::vector<std::uint32_t>& gids) {
    std::vector<std::uint8_t> raw(gids.size() * 4);
    for (std::size_t i = 0; i < gids.size(); ++i)
        for (int b = 0; b < 4; ++b) raw[i * 4 + b] = static_cast<std::uint8_t>(gids[i] >> (8 * b));
    const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(6), libdeflate_free_compressor);
    std::vector<std::uint8_t> packed(libdeflate_zlib_compress_bound(compressor.get(), raw.size()));
    packed.resize(libdeflate_zlib_compress(compressor.get(), raw.data(), raw.size(), packed.data(), packed.size()));
    return base64(packed);
}

// The shortest text that reads back as the same double.
std::string number(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

std::string offsets(int x, int y) {
    std::string out;
    if (x != 0) out += " offsetx=\"" + std::to_string(x) + "\"";
    if (y != 0) out += " offsety=\"" + std::to_string(y) + "\"";
    return out;
}

std::string int_properties(const std::vector<MapProperty>& properties, const std::string& indent) {
    if (properties.empty()) return {};
    std::string out = indent + "<properties>\n";
    for (const MapProperty& p : properties)
        out += indent + " <property name=\"" + xml_attribute_text(p.name) + "\" type=\"int\" value=\"" +
               std::to_string(p.value) + "\"/>\n";
    return out + indent + "</properties>\n";
}

std::string tile_layer(const MapModel& map, const MapTileLayer& layer, int id) {
    return " <layer id=\"" + std::to_string(id) + "\" name=\"" + xml_attribute_text(layer.name) + "\" width=\"" +
           std::to_string(map.width) + "\" height=\"" + std::to_string(map.height) + "\"" +
           offsets(layer.offset_x, layer.offset_y) + ">\n" + int_properties(layer.properties, "  ") +
           "  <data encoding=\"base64\" compression=\"zlib\">\n   " + layer_data(layer.gids) +
           "\n  </data>\n </layer>\n";
}

std::string object_layer(const MapObjectLayer& layer, int id) {
    std::string out = " <objectgroup id=\"" + std::to_string(id) + "\" name=\"" + xml_attribute_text(layer.name) +
                      "\" draworder=\"" + (layer.draw_order == MapDrawOrder::index ? "index" : "topdown") + "\"" +
                      offsets(layer.offset_x, layer.offset_y) + ">\n";
    for (const MapObject& o : layer.objects) {
        out += "  <object id=\"" + std::to_string(o.id) + "\"";
        if (!o.name.empty()) out += " name=\"" + xml_attribute_text(o.name) + "\"";
        if (!o.type.empty()) out += " type=\"" + xml_attribute_text(o.type) + "\"";
        out += " gid=\"" + std::to_string(o.gid) + "\" x=\"" + number(o.x) + "\" y=\"" + number(o.y) + "\" width=\"" +
               std::to_string(o.width) + "\" height=\"" + std::to_string(o.height) + "\"";
        if (o.properties.empty()) {
            out += "/>\n";
            continue;
        }
        out += ">\n" + int_properties(o.properties, "   ") + "  </object>\n";
    }
    return out + " </objectgroup>\n";
}
}  // namespace

std::string world_tmx(const MapModel& map) {
    int next_object = 1;
    for (const auto& any : map.layers)
        if (const auto* objects = std::get_if<MapObjectLayer>(&any))
            for (const MapObject& o : objects->objects) next_object = std::max(next_object, o.id + 1);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<map version=\"1.8\" tiledversion=\"1.8.2\" orientation=\"isometric\" renderorder=\"right-down\"" +
        std::string(" width=\"") + std::to_string(map.width) + "\" height=\"" + std::to_string(map.height) +
        "\" tilewidth=\"" + std::to_string(map.tile_width) + "\" tileheight=\"" + std::to_string(map.tile_height) +
        "\" infinite=\"0\" nextlayerid=\"" + std::to_string(map.layers.size() + 1) + "\" nextobjectid=\"" +
        std::to_string(next_object) + "\">\n";
    for (const MapTileset& t : map.tilesets)
        out += " <tileset firstgid=\"" + std::to_string(t.first_gid) + "\" source=\"" + xml_attribute_text(t.source) +
               "\"/>\n";
    int id = 1;
    for (const auto& any : map.layers) {
        if (const auto* tiles = std::get_if<MapTileLayer>(&any)) out += tile_layer(map, *tiles, id++);
        else out += object_layer(std::get<MapObjectLayer>(any), id++);
    }
    return out + "</map>\n";
}
