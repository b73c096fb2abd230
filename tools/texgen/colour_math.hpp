#pragma once
#include "pixel_image.hpp"

#include <array>

namespace texgen {

// A colour with real components on the 0..255 scale, for shading before rounding.
struct Col {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

constexpr Col col(int r, int g, int b) { return {double(r), double(g), double(b)}; }
inline Col operator+(Col a, Col b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Col operator*(Col a, double f) { return {a.r * f, a.g * f, a.b * f}; }
inline Col mix(Col a, Col b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
inline Col from_rgb(Rgb c) { return {double(c.r), double(c.g), double(c.b)}; }

// Brightens (light > 0) towards a warm white or darkens (light < 0) towards a
// cool shadow, so that shading shifts hue the way painted light does.
// light is clamped to -1..1; -1 leaves about a quarter of the colour.
Col shade(Col c, double light);

// Clamps each component to 0..255 and rounds to nearest.
Rgb to_rgb(Col c);

// Raises a pixel so its brightest channel is at least floor: ground cells are
// darkened to half by the generators and must never turn pure black.
Rgb lift_dark(Rgb c, int floor);

// Moves a pixel off the building sheet's transparency key.
Rgb avoid_key(Rgb c);

// A short colour ramp (the pixel-art palette of one material).
template <int N>
struct Ramp {
    std::array<Col, N> steps{};
    // The step for t in 0..1, quantised so flat areas stay flat.
    Col at(double t) const {
        int i = static_cast<int>(t * N);
        if (i < 0) i = 0;
        if (i >= N) i = N - 1;
        return steps[static_cast<std::size_t>(i)];
    }
};

// N steps around base, from shade(base, -dark) to shade(base, light).
template <int N>
Ramp<N> make_ramp(Col base, double dark, double light) {
    Ramp<N> ramp;
    for (int i = 0; i < N; ++i) {
        double t = N == 1 ? 0.5 : double(i) / double(N - 1);
        ramp.steps[static_cast<std::size_t>(i)] = shade(base, -dark + (dark + light) * t);
    }
    return ramp;
}

}  // namespace texgen
