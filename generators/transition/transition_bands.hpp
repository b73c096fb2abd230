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
Bands bands_for(int half_width);
// How far from the boundary any band reaches, in grid steps.
int band_reach(const Bands& bands);

// A raised side's step: `lip` holds for the lit rim of the upper side (the
// first `bands.lip` steps into it), `shadow` (0..1) for the lower side just
// below it. Normals and heights for the step follow this function.
struct StepPlace {
    bool lip = false;
    double lip_light = 0;  // 0..1, brightest at the rim
    double shadow = 0;
};
StepPlace step_place(double into_upper, const Bands& bands);

// Land beside water. `width` and `foam_width` (0..1) vary the bands along
// the coast; foam breaks where `foam_width` is low.
struct ShoreStyle {
    bool foam = true;    // none on swamp or lily-pond water
    bool rocky = false;  // rock: a dark wet rim, no beach, deep water close in
    Colour land_mean = 0;
};
struct Painted {
    Colour colour;
    BandLabel label;
};
// How far foam reaches into the water where `foam_width` is this; 0 where
// it breaks.
double foam_reach(const ShoreStyle& style, const Bands& bands, double foam_width);
Painted shore_land(const ShoreStyle& style, const Bands& bands, double into_land, double width, Colour land);
Painted shore_water(const ShoreStyle& style, const Bands& bands, double into_water, double width, double foam_width,
                    Colour water);

// Two grounds meeting level, two waters of different depth, and a raised
// side's step, from the two sides' texels.
Painted level_edge(const Bands& bands, double into_upper, Colour upper, Colour lower);
Painted depth_edge(const Bands& bands, double into_upper, Colour upper, Colour lower);
Painted step_edge(const Bands& bands, double into_upper, Colour upper, Colour lower);

Colour mix_colour(Colour c, Colour toward, double t);
