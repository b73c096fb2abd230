#include "generators/transition/shore_paint.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr Colour foam_colour = rgb(232, 240, 236);

Colour tint(Colour c, double r, double g, double b) {
    return rgb_clamped(static_cast<int>(std::lround(red(c) * r)), static_cast<int>(std::lround(green(c) * g)),
                       static_cast<int>(std::lround(blue(c) * b)));
}
}  // namespace

// Below 0.3 the foam breaks; above, it widens to 1.6 bands.
double foam_reach(const ShoreStyle& style, const Bands& bands, double foam_width) {
    return style.foam ? bands.foam * std::max(0.0, (foam_width - 0.3) / 0.7) * 1.6 : 0.0;
}

// The wet band darkens the land most at the waterline, fading inland over a
// width that changes along the coast; rock darkens less far but deeper.
Painted shore_land(const ShoreStyle& style, const Bands& bands, double into_land, double width, Colour land) {
    // At least a step and a half: a diagonal coast stays wet without gaps.
    const double reach = std::max(1.5, bands.wet * (style.rocky ? 0.6 : 1.0) * (0.6 + 0.8 * width));
    if (into_land >= reach) return {land, BandLabel::upper};
    const double wet = 1 - into_land / reach;
    const double dark = (style.rocky ? 0.5 : 0.38) * wet * wet;
    return {tint(land, 1 - dark, 1 - dark * 0.95, 1 - dark * 0.8), BandLabel::wet};
}

// Shallows blend the water towards the land's colour (never brighter than
// both), strongest at the shore; foam lies on them in a broken line whose
// width follows the coast.
Painted shore_water(const ShoreStyle& style, const Bands& bands, double into_water, double width, double foam_width,
                    Colour water) {
    Painted out{water, BandLabel::lower};
    const double foam = foam_reach(style, bands, foam_width);
    // The shallows always reach past the foam, so none is left in slivers.
    const double shallow = std::max(bands.shallow * (style.rocky ? 0.5 : 1.0) * (0.6 + 0.8 * width), foam + 2);
    if (into_water < shallow) {
        const double t = 1 - into_water / shallow;
        out = {mix_colour(water, style.land_mean, (style.rocky ? 0.25 : 0.45) * t * t), BandLabel::shallows};
    }
    if (into_water < foam) {
        const double t = 1 - into_water / foam;
        out = {mix_colour(out.colour, foam_colour, 0.25 + 0.55 * std::sqrt(t)), BandLabel::foam};
    }
    return out;
}
