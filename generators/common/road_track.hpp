#pragma once
#include "generators/common/river_channel.hpp"

#include <compare>
#include <cstdint>

// A road's track through one cell: the edges it leaves the cell by (edge
// bits, river_channel.hpp), each crossed at its middle, square to it, so
// two cells whose shared edge the track crosses join whatever else either
// does. One edge is a road's end; none, no road. A bridge carries the track
// over the cell's water (a river's channel) instead of laying it on the
// ground.
struct RoadTrack {
    std::uint8_t edges = 0;
    bool bridge = false;

    bool any() const { return edges != 0; }
    // Five bits: the edges, then the bridge.
    std::uint8_t packed() const { return static_cast<std::uint8_t>((edges & 15) | (bridge ? 16 : 0)); }
    static RoadTrack unpacked(std::uint8_t p) { return {static_cast<std::uint8_t>(p & 15), (p & 16) != 0}; }
    auto operator<=>(const RoadTrack&) const = default;
};
