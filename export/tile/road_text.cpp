#include "export/tile/road_text.hpp"

#include <array>

namespace {
constexpr std::array<std::pair<int, const char*>, 4> names = {
    {{edge_ne, "ne"}, {edge_se, "se"}, {edge_sw, "sw"}, {edge_nw, "nw"}}};
constexpr const char* bridge_word = "bridge";
}  // namespace

std::string road_text(const RoadTrack& road) {
    std::string text;
    for (const auto& [bit, name] : names)
        if (road.edges & bit) text += (text.empty() ? "" : ",") + std::string(name);
    return road.bridge ? text + ":" + bridge_word : text;
}

Problem read_road(const std::string& text, RoadTrack& road) {
    const std::size_t colon = text.find(':');
    const std::string edges = text.substr(0, colon);
    RoadTrack read;
    if (colon != std::string::npos) {
        if (text.substr(colon + 1) != bridge_word)
            return "\"" + text + "\": after the edges only \":bridge\" may follow, such as ne,sw:bridge";
        read.bridge = true;
    }
    std::size_t start = 0;
    while (!edges.empty()) {
        const std::size_t comma = edges.find(',', start);
        const std::string name = edges.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int edge = 0;
        for (const auto& [bit, n] : names)
            if (name == n) edge = bit;
        if (!edge) return "\"" + text + "\": \"" + name + "\" is not an edge: write ne, se, sw or nw";
        if (read.edges & edge) return "\"" + text + "\" names the edge " + name + " twice";
        read.edges = static_cast<std::uint8_t>(read.edges | edge);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (!read.any()) return "\"" + text + "\" names no edge: a road leaves its cell by one edge at least, such as ne,sw";
    if (read.bridge && read.edges != (edge_ne | edge_sw) && read.edges != (edge_se | edge_nw))
        return "\"" + text + "\": a bridge runs straight across its cell, by two opposite edges: ne,sw or se,nw";
    road = read;
    return std::nullopt;
}
