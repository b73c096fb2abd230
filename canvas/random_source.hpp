#pragma once
#include <cstdint>

// The one random generator of the program (PCG32). Unless seed() is called it
// seeds itself from the millisecond clock at its first use, so every run of
// the program draws different tiles; tests and tools seed it to reproduce.
class RandomSource {
public:
    RandomSource() = default;
    explicit RandomSource(std::uint64_t seed_value) { seed(seed_value); }

    void seed(std::uint64_t seed_value);

    // Uniform over 0..max inclusive for max >= 0; INT32_MIN for max < 0.
    std::int32_t random_int(std::int32_t max);

    // How many numbers random_int has handed out since construction; tests
    // and benchmarks count a generator's draws with it.
    std::uint64_t draw_count() const { return draws_; }

private:
    std::uint32_t next();
    void seed_from_clock();

    std::uint64_t state_ = 0;
    std::uint64_t increment_ = 0;
    std::uint64_t draws_ = 0;
    bool seeded_ = false;
};

// A uniform integer in 0..n-1 for n >= 1; INT32_MIN for n <= 0.
std::int32_t random_below(RandomSource& random, std::int32_t n);
