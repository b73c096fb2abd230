#include "generators/common/rock_warp.hpp"

#include "canvas/mix_hash.hpp"
#include "generators/common/periodic_noise.hpp"
#include "state/texture_cells.hpp"

#include <cmath>
#include <map>
#include <mutex>

namespace {
constexpr int n = ground_cell_size;
static_assert(n == 64, "the warp's table packs a texel's place in 12 bits");
// Texels the reading moves by: broad bends, and a finer ripple that breaks
// a joint's straight run into steps.
constexpr double broad = 3.5, ripple = 1.5;

int wrap(int at) { return ((at % n) + n) % n; }

std::vector<std::uint16_t> warp_table(std::uint64_t seed) {
    const PeriodicNoise across(mix_hash(seed ^ 0x7761727031ULL), 4), down(mix_hash(seed ^ 0x7761727032ULL), 4);
    const PeriodicNoise fine_across(mix_hash(seed ^ 0x7761727033ULL), 8);
    const PeriodicNoise fine_down(mix_hash(seed ^ 0x7761727034ULL), 8);
    std::vector<std::uint16_t> from(static_cast<std::size_t>(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double u = (x + 0.5) / n, v = (y + 0.5) / n;
            const double dx = broad * across.at(u, v).value + ripple * fine_across.at(u, v).value;
            const double dy = broad * down.at(u, v).value + ripple * fine_down.at(u, v).value;
            // Turned an eighth: a whole number of cells fits each side of
            // the turned cell, so it repeats with the tile.
            const int fx = wrap(static_cast<int>(std::floor(x - y + 0.5 + dx)));
            const int fy = wrap(static_cast<int>(std::floor(x + y + 0.5 + dy)));
            from[static_cast<std::size_t>(y) * n + x] = static_cast<std::uint16_t>(fx + n * fy);
        }
    return from;
}
}  // namespace

RockWarp::RockWarp(std::uint64_t seed) {
    // A set's tiles share their warps, and are drawn on several threads.
    static std::mutex mutex;
    static std::map<std::uint64_t, std::shared_ptr<const std::vector<std::uint16_t>>> cache;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (const auto found = cache.find(seed); found != cache.end()) {
            from_ = found->second;
            return;
        }
    }
    auto table = std::make_shared<const std::vector<std::uint16_t>>(warp_table(seed));
    const std::lock_guard<std::mutex> lock(mutex);
    if (cache.size() >= 1024) cache.clear();  // a long run of many seeds keeps only its latest
    from_ = cache.emplace(seed, std::move(table)).first->second;
}
