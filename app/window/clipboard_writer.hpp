#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <vector>

// Places the image on the system clipboard as an image (Qt offers the other
// image types from it; on Windows it becomes the DIB format), as "image/bmp"
// holding the exact bytes of the BMP file and, when given, as "image/png"
// holding a PNG file (the tile with its alpha).
bool put_image_on_system_clipboard(const RasterImage& image, const std::vector<std::uint8_t>& bmp_file,
                                   const std::vector<std::uint8_t>& png_file = {});
