#pragma once
#include "pixel_image.hpp"

#include <string_view>

namespace texgen {

// Draws digits, upper-case letters, space and '-' in a 3 x 5 pixel font,
// scaled by scale; other characters are skipped. For contact-sheet labels.
void draw_text(PixelImage& img, int x, int y, std::string_view text, Rgb colour, int scale = 2);

}  // namespace texgen
