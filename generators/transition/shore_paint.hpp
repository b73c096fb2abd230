#pragma once
#include "generators/transition/transition_bands.hpp"

// Land beside water. `width` and `foam_width` (0..1) vary the bands along
// the coast; foam breaks where `foam_width` is low.
struct ShoreStyle {
    bool foam = true;    // none on swamp or lily-pond water
    bool rocky = false;  // rock: a dark wet rim, no beach, deep water close in
    Colour land_mean = 0;
};
// How far foam reaches into the water where `foam_width` is this; 0 where
// it breaks.
double foam_reach(const ShoreStyle& style, const Bands& bands, double foam_width);
Painted shore_land(const ShoreStyle& style, const Bands& bands, double into_land, double width, Colour land);
Painted shore_water(const ShoreStyle& style, const Bands& bands, double into_water, double width, double foam_width,
                    Colour water);
