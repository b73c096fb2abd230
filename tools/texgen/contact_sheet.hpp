#pragma once
#include "pixel_image.hpp"
#include "sheets.hpp"

#include <string_view>

namespace texgen {

// Debug picture for judging the artwork: every cell enlarged with its index,
// repeated with a half-cell shift (seams cross in the middle), and put on
// tiles the way the program reads it. section is one of "walls", "roofs",
// "openings", "grass", "ground", "water", "rock", "boulders" or "all";
// an unknown section gives an empty image.
PixelImage make_contact_sheet(const SheetSet& sheets, std::string_view section = "all");

// A small picture of finished tiles for the documentation.
PixelImage make_highlights(const SheetSet& sheets);

}  // namespace texgen
