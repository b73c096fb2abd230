#pragma once
#include "canvas/numbers.hpp"
#include "canvas/raster_image.hpp"
#include "canvas/tile_geometry.hpp"

// Water, terrain ground and the mountain underlay all squash a 64 x 64
// texture cell onto the tile diamond the same way: an H x H grid (H the half
// width) whose point (i, j) lands here, painted together with the pixel to
// its right to close the gaps of the half-pixel vertical steps. Point (0, 0)
// is the diamond's top corner; i runs to the right corner, j to the left.
struct CanvasPoint {
    int x = 0;
    int y = 0;
};

constexpr CanvasPoint diamond_pixel(int half_width, int i, int j) {
    // Integer halvings: for odd H the top row sits at CY - trunc(H/2) + 1.
    return {TileGeometry::centre_x + i - j, TileGeometry::ground_y - half_width / 2 + i / 2 + j / 2 + 1};
}

// The texel for grid point (i, j) of the cell whose top-left pixel is
// (x0, y0), sampled every `step` texels (64 / H in single precision). Read in
// place from the whole sheet: a point off the sheet reads no_colour.
inline Colour diamond_texel(const RasterImage& sheet, int x0, int y0, int i, int j, float step) {
    return sheet.colour_at(nearest_to_int(x0 + i * static_cast<double>(step)),
                           nearest_to_int(y0 + j * static_cast<double>(step)));
}
