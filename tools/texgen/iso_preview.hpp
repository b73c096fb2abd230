#pragma once
#include "hash_random.hpp"
#include "pixel_image.hpp"

// How the program puts textures on a tile, reproduced for previews: the
// contact sheet and the About picture show the artwork the way users see it.
namespace texgen {

// Round to nearest, halves to even, as the program converts its values.
int nearest(double v);

// A 64 x 64 cell at (tx, ty) of sheet, sampled on an h x h grid onto the 2:1
// diamond whose top corner is (cx, top), every texel darkened by a random
// 0.50..0.99 drawn from rng; a texel that comes out black is painted (10, 10, 10).
void paint_diamond(PixelImage& dst, const PixelImage& sheet, int tx, int ty, int h, int cx, int top, Pcg32& rng);

// The top-left l x h region of a cell, cut out as an upright wall image.
// With gable set, a triangle of transparency key is cut into its top l/2 rows.
PixelImage cut_wall_image(const PixelImage& sheet, int tx, int ty, int l, int h, bool gable);

// Pastes a door or window cell scaled to w x h into a wall image, no transparency test.
void paste_opening(PixelImage& wall, const PixelImage& sheet, int tx, int ty, int x, int y, int w, int h);

// Shears a wall image onto dst standing on (x0, y0): slope +0.4 runs down to
// the right, -0.4 up; each pixel darkened by shade; key pixels are skipped.
void project_wall(PixelImage& dst, const PixelImage& wall, int x0, int y0, double slope, double shade);

// A pitched roof slope over a footprint with left corner (x1, y1), front
// corner (x2, y2) and right corner x3, walls h high; side 0 lies over the left
// front wall (darker), side 1 over the right one. (tx, ty) is the roof cell.
void paint_roof(PixelImage& dst, const PixelImage& sheet, int tx, int ty, int x1, int y1, int x2, int y2, int x3, int h,
                int overhang, int side);

}  // namespace texgen
