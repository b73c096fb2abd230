#pragma once
#include <array>
#include <compare>
#include <cstdint>

// A river's channel through one cell: the edges its water enters by, the
// edge it leaves by, and how wide it runs across each. The channel crosses
// an edge at the edge's middle, square to it, as wide as the edge says, so
// two cells whose shared edge the channel crosses join whatever else either
// does. A channel with no edge in is a spring (or leaves a lake, when the
// cell holds water); one with no edge out ends in the cell's water.
//
// Edges are named by where they face on screen, clockwise from the top
// right, as bits: the edge between the top and right corners is ne. On the
// map, ne leads to (x, y - 1), se to (x + 1, y), sw to (x, y + 1) and nw to
// (x - 1, y).
enum EdgeBit : int { edge_ne = 1, edge_se = 2, edge_sw = 4, edge_nw = 8 };
inline constexpr int channel_widths = 3;  // widths 1 (a stream) to 3

// The edge across from one.
constexpr int opposite_edge(int edge) { return ((edge << 2) | (edge >> 2)) & 15; }
// 0 for ne, 1 se, 2 sw, 3 nw.
constexpr int edge_index(int edge) { return edge == edge_ne ? 0 : edge == edge_se ? 1 : edge == edge_sw ? 2 : 3; }
// The cell across an edge, as (dx, dy) on the map.
constexpr std::array<int, 2> edge_step(int edge) {
    switch (edge) {
        case edge_ne: return {0, -1};
        case edge_se: return {1, 0};
        case edge_sw: return {0, 1};
        default: return {-1, 0};
    }
}

struct RiverChannel {
    std::uint8_t in = 0;   // edge bits
    std::uint8_t out = 0;  // one edge bit, or none
    // By edge_index: 1 to channel_widths where the channel crosses the edge, else 0.
    std::array<std::uint8_t, 4> widths{};

    bool any() const { return (in | out) != 0; }
    int edges() const { return in | out; }
    int width(int edge) const { return widths[static_cast<std::size_t>(edge_index(edge))]; }
    // Sixteen bits: in, out, then two bits a width.
    std::uint16_t packed() const {
        int p = in | out << 4;
        for (int k = 0; k < 4; ++k) p |= (widths[static_cast<std::size_t>(k)] & 3) << (8 + 2 * k);
        return static_cast<std::uint16_t>(p);
    }
    static RiverChannel unpacked(std::uint16_t p) {
        RiverChannel c;
        c.in = static_cast<std::uint8_t>(p & 15);
        c.out = static_cast<std::uint8_t>(p >> 4 & 15);
        for (int k = 0; k < 4; ++k) c.widths[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(p >> (8 + 2 * k) & 3);
        return c;
    }
    auto operator<=>(const RiverChannel&) const = default;
};
