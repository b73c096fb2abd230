#pragma once
#include "pixel_image.hpp"

namespace texgen {

PixelImage make_building_sheet();
PixelImage make_ground_sheet();
PixelImage make_boulder_sheet();
// The About picture: a small sample house built from the two sheets.
PixelImage make_about_image(const PixelImage& building_sheet, const PixelImage& ground_sheet);

}  // namespace texgen

namespace texgen {

// All four images, made in the order the program decodes them.
struct SheetSet {
    PixelImage about;
    PixelImage boulder;
    PixelImage ground;
    PixelImage building;
};
SheetSet make_all_sheets();

}  // namespace texgen
