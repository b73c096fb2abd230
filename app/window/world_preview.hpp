#pragma once
#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

// The world's render, to look at closely: dragged to pan, the wheel zooms
// about the pointer, nearest-neighbour when zoomed in so each pixel shows.
// A new world is fitted whole into view.
class WorldPreview final : public QWidget {
public:
    explicit WorldPreview(QWidget* parent = nullptr);

    void show_world(const QImage& image);
    void clear();
    const QImage& image() const { return image_; }
    double zoom() const { return zoom_; }
    // The image's pixel under a point of the widget, if it is on the image.
    std::optional<QPoint> image_pixel(QPointF at) const;
    // Told of the image's pixel under the pointer as it moves, nullopt off it.
    std::function<void(std::optional<QPoint>)> on_hover;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();
    QImage image_;
    double zoom_ = 1.0;
    QPointF origin_;  // where the image's top-left lies in the widget
    std::optional<QPointF> dragged_from_;
    bool moved_ = false;  // panned or zoomed since the world came: a resize keeps the view
};
