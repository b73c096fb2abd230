#pragma once
#include <cstdint>

// SplitMix64's finaliser: a well-mixed 64-bit hash of a 64-bit value. Every
// seeded value of the program (a run's tile seeds, noise lattices, a world's
// cells) and the built-in artwork come from it, so changing it changes them all.
constexpr std::uint64_t mix_hash(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}
