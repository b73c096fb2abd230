#include "generators/transition/transition_bands.hpp"

#include <algorithm>
#include <cmath>

Colour mix_colour(Colour c, Colour toward, double t) {
    auto m = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return rgb(m(red(c), red(toward)), m(green(c), green(toward)), m(blue(c), blue(toward)));
}

Bands bands_for(int half_width) {
    const double scale = half_width / 32.0;  // 1 at width 64
    return {std::max(1.5, 1.3 * scale), std::max(2.5, 2.8 * scale), std::max(2.0, 2.4 * scale),
            std::max(2.0, 1.6 * scale), std::max(2.0, 2.0 * scale), std::max(1.0, 0.8 * scale)};
}

int band_reach(const Bands& b) {
    return static_cast<int>(std::ceil(std::max({b.foam * 1.6 + 2, b.shallow * 1.4, b.wet * 1.4, b.lip, b.shadow}))) + 1;
}
