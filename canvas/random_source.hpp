#pragma once
#include <cstdint>
#include <limits>

// The one random generator of the program (PCG32). Unless seed() is called it
// seeds itself from the millisecond clock at its first use, so every run of
// the program draws different tiles; tests and tools seed it to reproduce.
// Generators draw a number for nearly every pixel, so the draw is inline.
class RandomSource {
public:
    RandomSource() = default;
    explicit RandomSource(std::uint64_t seed_value) { seed(seed_value); }

    void seed(std::uint64_t seed_value);

    // Uniform over 0..max inclusive for max >= 0; INT32_MIN for max < 0.
    std::int32_t random_int(std::int32_t max) {
        if (max < 0) return std::numeric_limits<std::int32_t>::min();
        if (!seeded_) seed_from_clock();
        ++draws_;
        // Lemire's multiply-and-reject: exactly uniform, rarely more than one draw.
        const std::uint64_t range = static_cast<std::uint64_t>(max) + 1;
        std::uint64_t m = static_cast<std::uint64_t>(next()) * range;
        auto low = static_cast<std::uint32_t>(m);
        if (low < range) {
            const auto threshold = static_cast<std::uint32_t>((0x100000000ULL - range) % range);
            while (low < threshold) {
                m = static_cast<std::uint64_t>(next()) * range;
                low = static_cast<std::uint32_t>(m);
            }
        }
        return static_cast<std::int32_t>(m >> 32);
    }

    // How many numbers random_int has handed out since construction; tests
    // and benchmarks count a generator's draws with it.
    std::uint64_t draw_count() const { return draws_; }

private:
    std::uint32_t next() {
        const std::uint64_t old = state_;
        state_ = old * 6364136223846793005ULL + increment_;
        const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rot = static_cast<std::uint32_t>(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
    }
    void seed_from_clock();

    std::uint64_t state_ = 0;
    std::uint64_t increment_ = 0;
    std::uint64_t draws_ = 0;
    bool seeded_ = false;
};

// A uniform integer in 0..n-1 for n >= 1; INT32_MIN for n <= 0. (The value
// passes through a double and back, which changes none.)
inline std::int32_t random_below(RandomSource& random, std::int32_t n) {
    if (n <= 0) return std::numeric_limits<std::int32_t>::min();
    return random.random_int(n - 1);
}
