#include "app/window/qt_image.hpp"

QImage to_qimage(const RasterImage& image) {
    if (image.empty()) return {};
    const QImage view(image.row(0), image.width(), image.height(), 3 * image.width(), QImage::Format_RGB888);
    return view.copy();
}
