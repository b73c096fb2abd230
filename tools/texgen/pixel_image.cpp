#include "pixel_image.hpp"

namespace texgen {

PixelImage::PixelImage(int width, int height, Rgb fill)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      bytes_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3) {
    if (fill != Rgb{}) fill_rect(0, 0, width_, height_, fill);
}

void PixelImage::fill_rect(int x, int y, int w, int h, Rgb c) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) plot(xx, yy, c);
}

void PixelImage::blit(const PixelImage& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (src.contains(sx + i, sy + j)) plot(dx + i, dy + j, src.at(sx + i, sy + j));
}

}  // namespace texgen
