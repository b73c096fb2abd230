#include "app/window/world_preview.hpp"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr double least_zoom = 1.0 / 64, most_zoom = 32;
constexpr double wheel_step = 1.25;  // a notch of the wheel
}  // namespace

WorldPreview::WorldPreview(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(320, 240);
    setCursor(Qt::OpenHandCursor);
}

void WorldPreview::show_world(const QImage& image) {
    image_ = image;
    moved_ = false;
    fit();
    update();
}

void WorldPreview::clear() {
    image_ = QImage();
    update();
}

void WorldPreview::fit() {
    if (image_.isNull() || width() <= 0 || height() <= 0) return;
    zoom_ = std::clamp(
        std::min(static_cast<double>(width()) / image_.width(), static_cast<double>(height()) / image_.height()),
        least_zoom, most_zoom);
    origin_ = QPointF((width() - image_.width() * zoom_) / 2, (height() - image_.height() * zoom_) / 2);
}

std::optional<QPoint> WorldPreview::image_pixel(QPointF at) const {
    if (image_.isNull()) return std::nullopt;
    const QPointF p = (at - origin_) / zoom_;
    const QPoint pixel(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
    if (!image_.rect().contains(pixel)) return std::nullopt;
    return pixel;
}

void WorldPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(48, 48, 48));
    if (image_.isNull()) return;
    // Only the part in view is drawn: at a high zoom the whole image scaled
    // would be far larger than the widget.
    const QRectF in_view = QRectF(-origin_ / zoom_, QSizeF(width(), height()) / zoom_).intersected(image_.rect());
    if (in_view.isEmpty()) return;
    const QRectF source(std::floor(in_view.left()), std::floor(in_view.top()),
                        std::ceil(in_view.right()) - std::floor(in_view.left()),
                        std::ceil(in_view.bottom()) - std::floor(in_view.top()));
    const QRectF target(origin_ + source.topLeft() * zoom_, source.size() * zoom_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 1);
    painter.drawImage(target, image_, source);
}

void WorldPreview::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0 || image_.isNull()) return;
    const double zoom = std::clamp(zoom_ * std::pow(wheel_step, notches), least_zoom, most_zoom);
    // The pixel under the pointer stays under it.
    const QPointF at = event->position();
    origin_ = at - (at - origin_) * (zoom / zoom_);
    zoom_ = zoom;
    moved_ = true;
    update();
    if (on_hover) on_hover(image_pixel(at));
}

void WorldPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    dragged_from_ = event->position();
    setCursor(Qt::ClosedHandCursor);
}

void WorldPreview::mouseMoveEvent(QMouseEvent* event) {
    if (dragged_from_) {
        origin_ += event->position() - *dragged_from_;
        dragged_from_ = event->position();
        moved_ = true;
        update();
    }
    if (on_hover) on_hover(image_pixel(event->position()));
}

void WorldPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    dragged_from_.reset();
    setCursor(Qt::OpenHandCursor);
}

void WorldPreview::leaveEvent(QEvent*) {
    if (on_hover) on_hover(std::nullopt);
}

void WorldPreview::resizeEvent(QResizeEvent*) {
    if (!moved_) fit();
}
