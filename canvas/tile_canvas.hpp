#pragma once
#include "canvas/raster_image.hpp"

// The image a tile is painted on, and where the drawing's (0, 0) lies in it.
// The window's canvas starts at (0, 0); the renderer's reaches past the
// window's edges on every side, so a tall tree keeps its top while every
// pixel inside the window's square stays where the window has it.
class TileCanvas : public RasterImage {
public:
    using RasterImage::RasterImage;
    using RasterImage::operator=;
    TileCanvas(int width, int height, int origin_x, int origin_y)
        : RasterImage(width, height),
          origin_x_(origin_x),
          origin_y_(origin_y) {}

    int origin_x() const { return origin_x_; }
    int origin_y() const { return origin_y_; }

private:
    int origin_x_ = 0;
    int origin_y_ = 0;
};
