#pragma once
// What the seeded sweeps share: how long each runs, and a random pick.
#include "canvas/random_source.hpp"

#include <chrono>
#include <cstdlib>
#include <vector>

using SweepClock = std::chrono::steady_clock;

// BRANNOC_SWEEP_SECONDS (the sanitizer build sets it), or the sweep's own
// default.
inline std::chrono::milliseconds sweep_budget(double default_seconds) {
    const char* set = std::getenv("BRANNOC_SWEEP_SECONDS");
    return std::chrono::milliseconds(static_cast<long>((set ? std::atof(set) : default_seconds) * 1000));
}

template <typename T>
const T& one_of(RandomSource& dice, const std::vector<T>& items) {
    return items[random_below(dice, static_cast<int>(items.size()))];
}
