#include "canvas/random_source.hpp"

#include <chrono>

void RandomSource::seed(std::uint64_t seed_value) {
    // PCG32 initialisation: a fixed odd stream, state advanced past the seed.
    increment_ = 0xda3e39cb94b95bdbULL;
    state_ = 0;
    next();
    state_ += seed_value;
    next();
    seeded_ = true;
}

void RandomSource::seed_from_clock() {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    seed(static_cast<std::uint64_t>(ms));
}
