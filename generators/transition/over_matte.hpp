#pragma once
#include "canvas/colour.hpp"

#include <cstdint>

// An over tile's pixel: a colour and its coverage (0..255) that, laid
// source-over on terrain A's texel, give the two-terrain tile's pixel back.
// Over tiles are stacked in worlds, each terrain over the ones below, so the
// coverage must mean the same over any texel: it is found by painting the
// pixel twice with A's texel black and white (how much of A shows through),
// and the colour then makes up, over A's own texel, whatever the painting
// did to A that a mix cannot say (a rim lit brighter, a shadow bluer).
struct OverPixel {
    Colour colour = 0;
    std::uint8_t alpha = 0;
};

// `on_black`, `on_white`: the pixel painted with A's texel black, white;
// `painted`: as the two-terrain tile paints it over A's texel `a_texel`.
// Pure A comes out alpha 0, pure B opaque and exactly `painted`.
OverPixel matte_over(Colour on_black, Colour on_white, Colour painted, Colour a_texel);

// The pixel laid source-over on `below`, rounded as an 8-bit canvas holds it.
Colour lay_over(Colour below, const OverPixel& pixel);
