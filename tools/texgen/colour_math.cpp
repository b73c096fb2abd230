#include "colour_math.hpp"

#include <cmath>

namespace texgen {

Col shade(Col c, double light) {
    if (light > 1.0) light = 1.0;
    if (light < -1.0) light = -1.0;
    if (light >= 0.0) {
        // Towards a warm highlight, keeping some of the colour's own hue.
        const Col warm{255.0, 244.0, 205.0};
        Col lifted = c * (1.0 + 0.35 * light);
        return mix(lifted, warm, 0.28 * light);
    }
    // Shadows lose red first and keep a little blue: cooler, not just darker.
    double k = -light;
    Col dark{c.r * (1.0 - 0.78 * k), c.g * (1.0 - 0.72 * k), c.b * (1.0 - 0.6 * k)};
    return dark + Col{0.0, 2.0 * k, 8.0 * k};
}

Rgb to_rgb(Col c) {
    auto channel = [](double v) {
        if (!(v > 0.0)) return std::uint8_t{0};
        if (v >= 255.0) return std::uint8_t{255};
        return static_cast<std::uint8_t>(std::floor(v + 0.5));
    };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

Rgb lift_dark(Rgb c, int floor) {
    int m = c.r > c.g ? c.r : c.g;
    if (c.b > m) m = c.b;
    if (m >= floor) return c;
    int add = floor - m;
    auto up = [add](std::uint8_t v) { return static_cast<std::uint8_t>(v + add > 255 ? 255 : v + add); };
    return {up(c.r), up(c.g), up(c.b)};
}

Rgb avoid_key(Rgb c) {
    if (c.r == 255 && c.g == 0 && c.b == 255) c.g = 1;
    return c;
}

}  // namespace texgen
