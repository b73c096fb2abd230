#include "sample_house.hpp"
#include "sheet_layout.hpp"
#include "sheets.hpp"

namespace texgen {

// The About picture: one house as the house generator would draw it at iso
// width 100, on a grass diamond.
PixelImage make_about_image(const PixelImage& building, const PixelImage& ground) {
    PixelImage img(kAboutWidth, kAboutHeight);
    Pcg32 rng(0xAB07u);
    HouseLook look;
    look.wall = 16;
    look.roof = 0;
    look.door = 0;
    look.window = 2;
    look.ground_x = 3 * 64;
    look.ground_y = kGrassRow * 64;
    look.side = 1;
    look.half_width = 50;
    look.wall_height = 40;
    paint_sample_house(img, building, ground, look, 70, 130, rng);
    return img;
}

}  // namespace texgen
