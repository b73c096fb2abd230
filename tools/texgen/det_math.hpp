#pragma once
#include <cmath>
#include <cstdint>

// Floating helpers built only from +, -, *, / and sqrt, which IEEE 754 rounds
// exactly, so the artwork does not depend on a particular libm.
namespace texgen {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 6.28318530717958647692;

// sin and cos by range reduction to [-pi/4, pi/4] and short polynomials
// (error below 1e-9, far under one 8-bit step).
double det_sin(double x);
double det_cos(double x);
// atan2 in (-pi, pi], used only for boulder outlines.
double det_atan2(double y, double x);

inline double clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }
inline double clampd(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline double lerp(double a, double b, double t) { return a + (b - a) * t; }
inline double smoothstep(double e0, double e1, double x) {
    double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}
// Floor to int; exact for the magnitudes used here.
inline int floor_int(double v) { return static_cast<int>(std::floor(v)); }
// Integer modulo with a non-negative result.
inline int wrap(int v, int period) {
    int m = v % period;
    return m < 0 ? m + period : m;
}
// Real modulo into [0, period).
inline double wrapd(double v, double period) { return v - period * std::floor(v / period); }

}  // namespace texgen
