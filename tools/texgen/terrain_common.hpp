#pragma once
#include "colour_math.hpp"
#include "det_math.hpp"
#include "hash_random.hpp"
#include "noise.hpp"

// Building blocks of the 64-pixel ground, grass, water and rock textures.
// They are squashed onto the tile diamond and darkened at random by the
// program, so they carry their look in shapes of 6..32 pixels, not speckle.
namespace texgen {

constexpr int kCell = 64;

// fbm over the 64-pixel tile at pixel (x, y) with n cells on the first octave.
inline double tile_fbm(std::uint64_t seed, int x, int y, int n, int octaves) {
    return fbm(seed, x + 0.5, y + 0.5, n, n, kCell, kCell, octaves);
}

// Quantise a light value so that areas read as a few flat pixel-art steps.
inline double steps(double light, double levels) { return std::floor(light * levels + 0.5) / levels; }

// Short strokes scattered on a wrapped grid of g x g cells: blades of grass,
// straws. Returns the stroke's height fraction (0 at the foot, 1 at the tip)
// at this pixel, or -1 where there is none; -2 marks the shadow under a foot.
double stroke_at(std::uint64_t seed, int x, int y, int g, int min_len, int max_len, double density);

// Ground-sheet pixels are halved at worst by the program: keep them well off black.
inline Rgb ground_pixel(Col c) { return lift_dark(to_rgb(c), 14); }

}  // namespace texgen

namespace texgen {

// A sine wave over the tile whose crests run along a*x + b*y = const. The
// phase is taken modulo period in integers, so the wave repeats exactly with
// the tile when 64 * a and 64 * b are multiples of period; shift (in cycles)
// bends it, e.g. by noise.
inline double tile_wave(int x, int y, int a, int b, int period, double shift) {
    return det_sin(kTwoPi * (double(wrap(a * x + b * y, period)) / period + shift));
}

}  // namespace texgen
