#include "generators/common/periodic_noise.hpp"

#include "canvas/mix_hash.hpp"

#include <cmath>

PeriodicNoise::PeriodicNoise(std::uint64_t seed, int period)
    : period_(period),
      values_(static_cast<std::size_t>(period) * period) {
    for (std::size_t k = 0; k < values_.size(); ++k) {
        const std::uint64_t h = mix_hash(seed ^ mix_hash(k));
        values_[k] = static_cast<double>(h >> 11) / static_cast<double>(1ULL << 52) - 1.0;
    }
}

double PeriodicNoise::lattice(int x, int y) const {
    const int wx = ((x % period_) + period_) % period_;
    const int wy = ((y % period_) + period_) % period_;
    return values_[static_cast<std::size_t>(wy) * period_ + wx];
}

NoiseSample PeriodicNoise::at(double u, double v) const {
    const double x = u * period_, y = v * period_;
    const double fx = std::floor(x), fy = std::floor(y);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const double tx = x - fx, ty = y - fy;
    // Smoothstep between lattice points: the value and its slope are continuous.
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double dsx = 6 * tx * (1 - tx), dsy = 6 * ty * (1 - ty);
    const double a = lattice(x0, y0), b = lattice(x0 + 1, y0);
    const double c = lattice(x0, y0 + 1), d = lattice(x0 + 1, y0 + 1);
    const double top = a + (b - a) * sx, bottom = c + (d - c) * sx;
    NoiseSample s;
    s.value = top + (bottom - top) * sy;
    s.du = ((b - a) + ((d - c) - (b - a)) * sy) * dsx * period_;
    s.dv = (bottom - top) * dsy * period_;
    return s;
}
