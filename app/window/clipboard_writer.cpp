#include "app/window/clipboard_writer.hpp"

#include "app/window/qt_image.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

bool put_image_on_system_clipboard(const RasterImage& image, const std::vector<std::uint8_t>& bmp_file,
                                   const std::vector<std::uint8_t>& png_file) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    auto* data = new QMimeData;  // the clipboard takes ownership
    data->setImageData(to_qimage(image));
    data->setData(QStringLiteral("image/bmp"),
                  QByteArray(reinterpret_cast<const char*>(bmp_file.data()), static_cast<qsizetype>(bmp_file.size())));
    // Given outright, it is what a reader asking for image/png gets, not a
    // PNG Qt would make from the opaque image.
    if (!png_file.empty())
        data->setData(QStringLiteral("image/png"), QByteArray(reinterpret_cast<const char*>(png_file.data()),
                                                              static_cast<qsizetype>(png_file.size())));
    clipboard->setMimeData(data);
    return true;
}
