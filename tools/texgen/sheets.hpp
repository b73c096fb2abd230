#pragma once
#include "pixel_image.hpp"

namespace texgen {

PixelImage make_building_sheet();
PixelImage make_ground_sheet();
PixelImage make_boulder_sheet();

}  // namespace texgen

namespace texgen {

// All four images, made in the order the program decodes them.
struct SheetSet {
    PixelImage boulder;
    PixelImage ground;
    PixelImage building;
};
SheetSet make_all_sheets();

}  // namespace texgen
