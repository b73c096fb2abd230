#pragma once
#include "hash_random.hpp"
#include "pixel_image.hpp"

namespace texgen {

// What a preview house is made of and how big it is.
struct HouseLook {
    int wall = 0;      // building-sheet cell 0..23
    int roof = 0;      // roof index 0..11
    int door = 0;      // ground-sheet row 0 column
    int window = 0;    // ground-sheet row 1 column
    int ground_x = 0;  // top-left of the ground cell on the ground sheet
    int ground_y = 0;
    int side = 1;         // roof over the left (0) or right (1) front wall
    int half_width = 50;  // of the ground diamond; the house scales with it
    int wall_height = 36;
};

// Paints a ground diamond and a house standing on it, the way the program
// builds a house tile; the diamond's bottom corner is at (cx, bottom).
void paint_sample_house(PixelImage& dst, const PixelImage& building, const PixelImage& ground, const HouseLook& look,
                        int cx, int bottom, Pcg32& rng);

// A boulder cell drawn on the canvas the way the terrain painter does,
// scaled by ax (width) and ay (height) with shade f, its left edge at x0 and
// its bottom at y_bottom; black texels are left out.
void paint_boulder_sprite(PixelImage& dst, const PixelImage& boulders, int index, int x0, int y_bottom, double ax,
                          double ay, double f, Pcg32& rng);

}  // namespace texgen
