#include "export/tile/channel_text.hpp"

#include <array>

namespace {
constexpr std::array<std::pair<int, const char*>, 4> names = {
    {{edge_ne, "ne"}, {edge_se, "se"}, {edge_sw, "sw"}, {edge_nw, "nw"}}};

std::string edge_text(const RiverChannel& c, int edge) {
    std::string text;
    for (const auto& [bit, name] : names)
        if (bit == edge) text = name;
    if (c.width(edge) > 1) text += ":" + std::to_string(c.width(edge));
    return text;
}

// One side of '>': edges separated by commas, each with its width.
Problem read_edges(const std::string& text, const std::string& whole, RiverChannel& c, std::uint8_t& bits) {
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        const std::size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::size_t colon = part.find(':');
        const std::string name = part.substr(0, colon);
        int edge = 0;
        for (const auto& [bit, n] : names)
            if (name == n) edge = bit;
        if (!edge) return "\"" + whole + "\": \"" + name + "\" is not an edge: write ne, se, sw or nw";
        if ((c.in | c.out | bits) & edge) return "\"" + whole + "\" names the edge " + name + " twice";
        int width = 1;
        if (colon != std::string::npos) {
            const std::string w = part.substr(colon + 1);
            if (w.size() != 1 || w[0] < '1' || w[0] > '0' + channel_widths)
                return "\"" + whole + "\": the width of " + name + " is a number from 1 to " +
                       std::to_string(channel_widths);
            width = w[0] - '0';
        }
        bits |= static_cast<std::uint8_t>(edge);
        c.widths[static_cast<std::size_t>(edge_index(edge))] = static_cast<std::uint8_t>(width);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return std::nullopt;
}
}  // namespace

std::string channel_text(const RiverChannel& c) {
    std::string in;
    for (const auto& [bit, name] : names)
        if (c.in & bit) in += (in.empty() ? "" : ",") + edge_text(c, bit);
    return in + ">" + (c.out ? edge_text(c, c.out) : "");
}

std::string channel_flow(const RiverChannel& c) {
    int towards = c.out;
    for (const auto& [bit, name] : names)
        if (!towards && (c.in & bit)) towards = opposite_edge(bit);
    for (const auto& [bit, name] : names)
        if (bit == towards) return name;
    return "";
}

Problem read_channel(const std::string& text, RiverChannel& channel) {
    const std::size_t arrow = text.find('>');
    if (arrow == std::string::npos || text.find('>', arrow + 1) != std::string::npos)
        return "\"" + text + "\" is not IN>OUT, the edges the water enters by and the one it leaves by, such as nw>se";
    RiverChannel read;
    if (Problem problem = read_edges(text.substr(0, arrow), text, read, read.in)) return problem;
    if (Problem problem = read_edges(text.substr(arrow + 1), text, read, read.out)) return problem;
    if (read.out & (read.out - 1)) return "\"" + text + "\": the water leaves by one edge at most";
    if (!read.any()) return "\"" + text + "\" names no edge: the channel crosses one at least";
    channel = read;
    return std::nullopt;
}
