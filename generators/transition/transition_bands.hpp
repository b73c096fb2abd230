#pragma once
#include "canvas/colour.hpp"

// The bands drawn along a transition tile's boundary, by the point's signed
// distance from it in grid steps (about a pixel each). Which side is raised
// follows the materials: rock stands above ground, ground above water, and
// two of one kind meet level.

enum class Level { level, step, shore, depth };  // how the two terrains meet

// What a point shows, for the tests and for anyone who lights the bands.
enum class BandLabel : unsigned char { lower, upper, wet, foam, shallows, lip, shadow };

struct Bands {
    double foam, shallow, wet, lip, shadow, blend;
};
// The bands' widths at half width H, in grid steps.
Bands bands_for(int half_width);
// How far from the boundary any band reaches, in grid steps.
int band_reach(const Bands& bands);

// What a point of a band is painted.
struct Painted {
    Colour colour;
    BandLabel label;
};

// c moved the share t (0..1) of the way to `toward`, each channel rounded.
Colour mix_colour(Colour c, Colour toward, double t);
