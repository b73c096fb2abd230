#include "det_math.hpp"

namespace texgen {
namespace {

// Taylor polynomials on |x| <= pi/4.
double sin_poly(double x) {
    double x2 = x * x;
    return x * (1.0 + x2 * (-1.0 / 6.0 + x2 * (1.0 / 120.0 + x2 * (-1.0 / 5040.0 +
                                                                   x2 * (1.0 / 362880.0 + x2 * (-1.0 / 39916800.0))))));
}
double cos_poly(double x) {
    double x2 = x * x;
    return 1.0 + x2 * (-0.5 + x2 * (1.0 / 24.0 +
                                    x2 * (-1.0 / 720.0 +
                                          x2 * (1.0 / 40320.0 + x2 * (-1.0 / 3628800.0 + x2 * (1.0 / 479001600.0))))));
}

// atan on [0, 1] by argument halving and a series.
double atan_unit(double t) {
    // atan(t) = 2 atan(t / (1 + sqrt(1 + t^2))), applied twice brings t below 0.2.
    double a = t / (1.0 + std::sqrt(1.0 + t * t));
    a = a / (1.0 + std::sqrt(1.0 + a * a));
    double a2 = a * a;
    double s =
        a *
        (1.0 + a2 * (-1.0 / 3.0 +
                     a2 * (1.0 / 5.0 + a2 * (-1.0 / 7.0 + a2 * (1.0 / 9.0 + a2 * (-1.0 / 11.0 + a2 * (1.0 / 13.0)))))));
    return 4.0 * s;
}

}  // namespace

double det_sin(double x) {
    double q = std::floor(x / (kPi / 2.0) + 0.5);
    double r = x - q * (kPi / 2.0);
    int quadrant = static_cast<int>(static_cast<std::int64_t>(q) & 3);
    switch (quadrant) {
        case 0: return sin_poly(r);
        case 1: return cos_poly(r);
        case 2: return -sin_poly(r);
        default: return -cos_poly(r);
    }
}

double det_cos(double x) { return det_sin(x + kPi / 2.0); }

double det_atan2(double y, double x) {
    if (x == 0.0 && y == 0.0) return 0.0;
    double ax = std::fabs(x), ay = std::fabs(y);
    double a = ay <= ax ? atan_unit(ay / ax) : kPi / 2.0 - atan_unit(ax / ay);
    if (x < 0.0) a = kPi - a;
    return y < 0.0 ? -a : a;
}

}  // namespace texgen
