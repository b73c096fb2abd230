#include "generators/world/world_fields.hpp"

#include "generators/world/world_cell_hash.hpp"

#include <algorithm>
#include <cmath>

namespace {

// A lattice point's value in -1..1, from the seed and the point alone.
double lattice(std::uint64_t seed, std::int64_t x, std::int64_t y) {
    const std::uint64_t h = world_cell_hash(seed, x, y);
    return static_cast<double>(h >> 11) * (2.0 / static_cast<double>(1ULL << 53)) - 1.0;
}

double value_noise(std::uint64_t seed, double x, double y) {
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<std::int64_t>(fx), iy = static_cast<std::int64_t>(fy);
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double a = lattice(seed, ix, iy), b = lattice(seed, ix + 1, iy);
    const double c = lattice(seed, ix, iy + 1), d = lattice(seed, ix + 1, iy + 1);
    const double top = a + (b - a) * sx, bottom = c + (d - c) * sx;
    return top + (bottom - top) * sy;
}

// Octaves of halving size and weight, normalised to about -1..1 (most
// values within -0.6..0.6).
double fractal(std::uint64_t seed, double x, double y, int octaves) {
    double sum = 0, weight = 1, total = 0;
    for (int k = 0; k < octaves; ++k) {
        // A quarter-cell shift per octave keeps the lattices' grid lines apart.
        sum += weight * value_noise(mix_hash(seed + k), x + 0.37 * k, y + 0.61 * k);
        total += weight;
        weight *= 0.5, x *= 2, y *= 2;
    }
    return sum / total;
}

}  // namespace

WorldFields::WorldFields(const WorldRequest& request)
    : elevation_seed_(mix_hash(request.seed ^ 0x656c6576ULL)),
      moisture_seed_(mix_hash(request.seed ^ 0x6d6f6973ULL)),
      width_(request.width),
      height_(request.height) {
    // Land masses a quarter of a small world across; big worlds get many of
    // the same size rather than a few huge ones.
    const int smaller = std::max(1, std::min(width_, height_));
    scale_ = std::clamp(smaller / 3.0, 16.0, 64.0);
    border_ = std::clamp(smaller / 5.0, 4.0, 40.0);
}

double WorldFields::elevation(int cx, int cy) const {
    const double n = fractal(elevation_seed_, cx / scale_, cy / scale_, 5);
    const double edge = std::min(std::min(cx, width_ - cx), std::min(cy, height_ - cy));
    const double inland = std::clamp(edge / border_, 0.0, 1.0);
    const double sink = 0.45 * (1 - inland) * (1 - inland);
    return std::clamp(0.5 + 0.85 * n - sink, 0.0, 1.0);
}

double WorldFields::moisture(int cx, int cy) const {
    const double n = fractal(moisture_seed_, cx / (scale_ * 0.75), cy / (scale_ * 0.75), 4);
    return std::clamp(0.5 + 1.6 * n, 0.0, 1.0);
}
