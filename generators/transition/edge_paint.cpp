#include "generators/transition/edge_paint.hpp"

#include <algorithm>
#include <cmath>

namespace {
Colour scaled(Colour c, double r, double g, double b) {
    return rgb_clamped(static_cast<int>(std::lround(red(c) * r)), static_cast<int>(std::lround(green(c) * g)),
                       static_cast<int>(std::lround(blue(c) * b)));
}
}  // namespace

StepPlace step_place(double into_upper, const Bands& bands) {
    StepPlace place;
    if (into_upper >= 0) {
        place.lip = into_upper < bands.lip;
        if (place.lip) place.lip_light = 1 - 0.5 * into_upper / bands.lip;
    } else if (-into_upper < bands.shadow) {
        const double t = 1 + into_upper / bands.shadow;
        place.shadow = t * t;
    }
    return place;
}

// Two grounds lie level: a short blend, no lip, no shadow.
Painted level_edge(const Bands& bands, double into_upper, Colour upper, Colour lower) {
    const double t = std::clamp(0.5 + into_upper / (2 * bands.blend), 0.0, 1.0);
    return {mix_colour(lower, upper, t), into_upper >= 0 ? BandLabel::upper : BandLabel::lower};
}

// A raised side: its rim lit, the ground below in its shadow.
Painted step_edge(const Bands& bands, double into_upper, Colour upper, Colour lower) {
    const StepPlace place = step_place(into_upper, bands);
    if (place.lip) {
        const double k = 1 + 0.32 * place.lip_light;
        return {scaled(upper, k, k, k * 0.96), BandLabel::lip};
    }
    if (into_upper >= 0) return {upper, BandLabel::upper};
    if (place.shadow > 0) {
        const double k = 1 - 0.6 * place.shadow;
        return {scaled(lower, k, k, k * 1.04 > 1 ? 1 : k * 1.04), BandLabel::shadow};
    }
    return {lower, BandLabel::lower};
}
