#pragma once
#include "canvas/mix_hash.hpp"

#include <cstdint>

// Hashing and random draws that give the same numbers on every platform:
// the artwork must not depend on the standard library's generators.
namespace texgen {

// Hash of a seed and up to three integers (e.g. a lattice point and a layer).
constexpr std::uint64_t hash_ints(std::uint64_t seed, std::int64_t a, std::int64_t b = 0, std::int64_t c = 0) {
    std::uint64_t h = mix_hash(seed ^ 0x51ED270B27A9F3C5ull);
    h = mix_hash(h ^ static_cast<std::uint64_t>(a));
    h = mix_hash(h ^ (static_cast<std::uint64_t>(b) * 0x2545F4914F6CDD1Dull));
    h = mix_hash(h ^ (static_cast<std::uint64_t>(c) * 0x9E6C63D0676A9A99ull));
    return h;
}

// Uniform in [0, 1) from the top 53 bits of a hash.
constexpr double unit_from_hash(std::uint64_t h) { return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0); }

// Uniform in [0, 1) for a seed and integers.
constexpr double hash_unit(std::uint64_t seed, std::int64_t a, std::int64_t b = 0, std::int64_t c = 0) {
    return unit_from_hash(hash_ints(seed, a, b, c));
}

// 0..n-1 for a seed and integers (n > 0).
constexpr int hash_below(std::uint64_t seed, int n, std::int64_t a, std::int64_t b = 0, std::int64_t c = 0) {
    return static_cast<int>(hash_ints(seed, a, b, c) % static_cast<std::uint64_t>(n));
}

// PCG32 (XSH RR) for sequences of draws, e.g. strokes painted one after another.
class Pcg32 {
public:
    explicit Pcg32(std::uint64_t seed, std::uint64_t stream = 54u) {
        inc_ = (stream << 1u) | 1u;
        next();
        state_ += seed;
        next();
    }
    std::uint32_t next() {
        std::uint64_t old = state_;
        state_ = old * 6364136223846793005ull + inc_;
        auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        auto rot = static_cast<std::uint32_t>(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
    }
    // 0..n-1 (n > 0); the tiny modulo bias does not matter for artwork.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next()) * (1.0 / 4294967296.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }

private:
    std::uint64_t state_ = 0;
    std::uint64_t inc_ = 0;
};

// Seed of one cell of one sheet, so that changing one recipe leaves the others alone.
constexpr std::uint64_t cell_seed(std::uint64_t sheet, int row, int column, int layer = 0) {
    return hash_ints(0xB7A2A0C5EEDull ^ sheet, row, column, layer);
}

}  // namespace texgen
