#pragma once
#include "canvas/raster_image.hpp"

#include <QImage>

// A deep copy of a raster image as a Qt image (RGB888).
QImage to_qimage(const RasterImage& image);
