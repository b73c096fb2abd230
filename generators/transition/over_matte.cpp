#include "generators/transition/over_matte.hpp"

#include <algorithm>
#include <cmath>

namespace {
int channel(Colour c, int k) { return k == 0 ? red(c) : k == 1 ? green(c) : blue(c); }
}  // namespace

OverPixel matte_over(Colour on_black, Colour on_white, Colour painted, Colour a_texel) {
    // How much of A's texel shows: the least over the channels, so that no
    // channel needs a negative colour to darken as far as it was painted.
    double shows = 1.0;
    for (int k = 0; k < 3; ++k) shows = std::min(shows, (channel(on_white, k) - channel(on_black, k)) / 255.0);
    double alpha = 1.0 - std::clamp(shows, 0.0, 1.0);
    // Where the painting is no mix (a brightened rim, clamped), cover more of
    // A until its painted colour lies within reach; half a level is rounding.
    for (int k = 0; k < 3; ++k) {
        const double x = channel(a_texel, k), n = channel(painted, k);
        const double laid = n - (1.0 - alpha) * x;
        if (laid < -0.5 && x > 0) alpha = std::max(alpha, (x - n) / x);
        if (laid > 255.0 * alpha + 0.5 && x < 255) alpha = std::max(alpha, (n - x) / (255.0 - x));
    }
    const int a = static_cast<int>(std::lround(std::clamp(alpha, 0.0, 1.0) * 255.0));
    if (a <= 0) return {};
    if (a >= 255) return {painted, 255};
    int colour[3];
    for (int k = 0; k < 3; ++k) {
        const double laid = channel(painted, k) - (1.0 - a / 255.0) * channel(a_texel, k);
        colour[k] = std::clamp(static_cast<int>(std::lround(laid * 255.0 / a)), 0, 255);
    }
    return {rgb(colour[0], colour[1], colour[2]), static_cast<std::uint8_t>(a)};
}

Colour lay_over(Colour below, const OverPixel& pixel) {
    const auto mix = [&](int k) {
        return static_cast<int>(
            std::lround((channel(pixel.colour, k) * pixel.alpha + channel(below, k) * (255 - pixel.alpha)) / 255.0));
    };
    return rgb(mix(0), mix(1), mix(2));
}
