#pragma once
#include "canvas/mix_hash.hpp"

#include <cstdint>

// The world's one hash of a cell or corner: a stream's seed and the place in
// world coordinates, so a chunk draws the same values at a place as the
// chunks beside it and as the whole world does. Coordinates keep their low
// 32 bits (negative ones wrap).
constexpr std::uint64_t world_cell_hash(std::uint64_t seed, std::int64_t x, std::int64_t y) {
    const std::uint64_t place = static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) |
                                static_cast<std::uint64_t>(static_cast<std::uint32_t>(y)) << 32;
    return mix_hash(seed ^ mix_hash(place));
}
