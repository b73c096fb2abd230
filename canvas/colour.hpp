#pragma once
#include <cstdint>

// A colour is r + g*256 + b*65536 in one signed 32-bit value; -1 means "no
// colour" (what point() answers outside an image).
using Colour = std::int32_t;

inline constexpr Colour no_colour = -1;

// Plain 32-bit arithmetic without masking: a component outside 0..255 spills
// into its neighbour, so rgb(256, 0, 0) == rgb(0, 1, 0).
constexpr Colour rgb(int r, int g, int b) {
    const std::uint32_t v =
        static_cast<std::uint32_t>(r) + static_cast<std::uint32_t>(g) * 256u + static_cast<std::uint32_t>(b) * 65536u;
    return static_cast<Colour>(v);
}

constexpr int red(Colour c) { return static_cast<int>(static_cast<std::uint32_t>(c) & 255u); }
constexpr int green(Colour c) { return static_cast<int>((static_cast<std::uint32_t>(c) >> 8) & 255u); }
constexpr int blue(Colour c) { return static_cast<int>((static_cast<std::uint32_t>(c) >> 16) & 255u); }

// rgb with each component first held to 0..255, for sums that can run past
// either end (noise added to a bright texel, a green shifted below zero).
constexpr Colour rgb_clamped(int r, int g, int b) {
    auto hold = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
    return rgb(hold(r), hold(g), hold(b));
}
