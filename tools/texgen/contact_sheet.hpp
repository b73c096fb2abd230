#pragma once
#include "pixel_image.hpp"
#include "sheets.hpp"

namespace texgen {

// Debug picture of every cell: enlarged with its index, repeated 2 x 2 with a
// half-cell shift, and put on tiles the way the program reads it.
PixelImage make_contact_sheet(const SheetSet& sheets);

// A small selection of the contact sheet for the documentation.
PixelImage make_highlights(const SheetSet& sheets);

}  // namespace texgen
