#include "noise.hpp"

#include "det_math.hpp"
#include "hash_random.hpp"

#include <cmath>

namespace texgen {
namespace {

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

double lattice(std::uint64_t seed, int i, int j, int nx, int ny) { return hash_unit(seed, wrap(i, nx), wrap(j, ny)); }

}  // namespace

double value_noise(std::uint64_t seed, double x, double y, int nx, int ny, double px, double py) {
    double u = x * nx / px;
    double v = y * ny / py;
    double fu = std::floor(u), fv = std::floor(v);
    int i = static_cast<int>(fu), j = static_cast<int>(fv);
    double tu = fade(u - fu), tv = fade(v - fv);
    double a = lattice(seed, i, j, nx, ny), b = lattice(seed, i + 1, j, nx, ny);
    double c = lattice(seed, i, j + 1, nx, ny), d = lattice(seed, i + 1, j + 1, nx, ny);
    return lerp(lerp(a, b, tu), lerp(c, d, tu), tv);
}

double fbm(std::uint64_t seed, double x, double y, int nx, int ny, double px, double py, int octaves, double gain) {
    double sum = 0.0, amp = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * value_noise(hash_ints(seed, o), x, y, nx << o, ny << o, px, py);
        norm += amp;
        amp *= gain;
    }
    return sum / norm;
}

CellHit cell_noise(std::uint64_t seed, double x, double y, int nx, int ny, double px, double py, double jitter) {
    // Work in cell units relative to the pixel's own cell, so that a pixel and
    // its copy one period away compute bit-identical distances.
    double cw = px / nx, ch = py / ny;
    double u = x * nx / px, v = y * ny / py;
    double fu = std::floor(u), fv = std::floor(v);
    int ci = static_cast<int>(fu), cj = static_cast<int>(fv);
    double lu = u - fu, lv = v - fv;
    CellHit hit;
    hit.f1 = hit.f2 = 1e30;
    for (int dj = -1; dj <= 1; ++dj) {
        for (int di = -1; di <= 1; ++di) {
            int wi = wrap(ci + di, nx), wj = wrap(cj + dj, ny);
            std::uint64_t h = hash_ints(seed, wi, wj);
            double ox = 0.5 + jitter * (unit_from_hash(h) - 0.5);
            double oy = 0.5 + jitter * (unit_from_hash(mix_hash(h)) - 0.5);
            double dx = (di + ox - lu) * cw, dy = (dj + oy - lv) * ch;
            double d = std::sqrt(dx * dx + dy * dy);
            if (d < hit.f1) {
                hit.f2 = hit.f1;
                hit.f1 = d;
                hit.dx = dx;
                hit.dy = dy;
                hit.cell_x = wi;
                hit.cell_y = wj;
                hit.id = h;
            } else if (d < hit.f2) {
                hit.f2 = d;
            }
        }
    }
    return hit;
}

}  // namespace texgen
