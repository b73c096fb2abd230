#include "canvas/random_source.hpp"

#include "canvas/numbers.hpp"

#include <chrono>
#include <limits>

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
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    seed(static_cast<std::uint64_t>(ms));
}

std::uint32_t RandomSource::next() {
    const std::uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + increment_;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
    const auto rot = static_cast<std::uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

std::int32_t RandomSource::random_int(std::int32_t max) {
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

std::int32_t random_below(RandomSource& random, std::int32_t n) {
    if (n <= 0) return std::numeric_limits<std::int32_t>::min();
    return trunc_to_int(static_cast<double>(random.random_int(n - 1)));
}
