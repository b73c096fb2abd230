#pragma once
#include "canvas/colour.hpp"
#include "canvas/numbers.hpp"
#include "canvas/random_source.hpp"

// The speckle every textured surface is painted with: a factor of 0.50 to
// 0.99 in steps of 0.01, rounded to single precision.
inline float random_shade_factor(RandomSource& random) {
    return static_cast<float>(random_below(random, 50) / 100.0 + 0.5);
}

// Each component times factor, rounded to nearest (halves to even).
inline Colour scale_colour(Colour c, double factor) {
    return rgb(nearest_to_int(red(c) * factor), nearest_to_int(green(c) * factor), nearest_to_int(blue(c) * factor));
}
