#pragma once
#include <cstdint>

// Tileable noise. Every lattice wraps with a whole number of cells across the
// tile's period, so a texture built from it repeats without seams.
namespace texgen {

// Smooth value noise in 0..1 on nx x ny cells spread over a px x py tile.
double value_noise(std::uint64_t seed, double x, double y, int nx, int ny, double px, double py);

// Sum of octaves (cells doubling each time), normalised to 0..1.
double fbm(std::uint64_t seed, double x, double y, int nx, int ny, double px, double py, int octaves,
           double gain = 0.5);

// Cell (Worley) noise: one jittered point per cell of an nx x ny grid over a
// px x py tile.
struct CellHit {
    double f1 = 0.0;  // distance to the nearest point, in pixels
    double f2 = 0.0;  // distance to the second nearest point
    double dx = 0.0;  // vector from the pixel to the nearest point
    double dy = 0.0;
    int cell_x = 0;  // wrapped cell of the nearest point
    int cell_y = 0;
    std::uint64_t id = 0;  // hash of that cell, for per-stone tints
};
CellHit cell_noise(std::uint64_t seed, double x, double y, int nx, int ny, double px, double py, double jitter);

}  // namespace texgen
