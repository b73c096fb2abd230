#pragma once
#include "generators/transition/transition_bands.hpp"

// A raised side's step: `lip` holds for the lit rim of the upper side (the
// first `bands.lip` steps into it), `shadow` (0..1) for the lower side just
// below it. Normals and heights for the step follow this function.
struct StepPlace {
    bool lip = false;
    double lip_light = 0;  // 0..1, brightest at the rim
    double shadow = 0;
};
StepPlace step_place(double into_upper, const Bands& bands);

// Two grounds meeting level and a raised side's step, from the two sides'
// texels (two waters fade into each other: depth_fade.hpp).
Painted level_edge(const Bands& bands, double into_upper, Colour upper, Colour lower);
Painted step_edge(const Bands& bands, double into_upper, Colour upper, Colour lower);
