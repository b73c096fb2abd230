#pragma once
#include "pixel_image.hpp"

// Every texture of the sheets. Tiling recipes are functions of integer pixel
// coordinates that repeat with the cell's period (64, or 128 for the building
// sheet); the others paint one cell.
namespace texgen {

// Building sheet, 128-pixel period.
Rgb wall_texel(int index, int x, int y);     // 0..17
Rgb plaster_texel(int index, int x, int y);  // 0..5
Rgb roof_texel(int index, int x, int y);     // 0..11

// Ground sheet, 64-pixel period.
Rgb grass_texel(int index, int x, int y);   // 0..9, ground-sheet row 3
Rgb ground_texel(int index, int x, int y);  // 0..9, row 4
Rgb water_texel(int index, int x, int y);   // 0..9, row 5
Rgb rock_texel(int index, int x, int y);    // 0..19, rows 6 and 7

// One 64 x 64 cell each.
PixelImage paint_door(int index);     // 0..9
PixelImage paint_window(int index);   // 0..9
PixelImage paint_boulder(int index);  // 0..11, on pure black

}  // namespace texgen
