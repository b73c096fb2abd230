#include "app/window/chooser_window.hpp"

#include "app/window/qt_image.hpp"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace {
// Paints the chooser's picture and forwards releases of the left button.
class ChooserGrid final : public QWidget {
public:
    ChooserGrid(TextureChooser& chooser, QWidget* parent) : QWidget(parent), chooser_(chooser) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, to_qimage(chooser_.render()));
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        const QPoint at = event->position().toPoint();
        // The pointer reads -1 outside the client area.
        const bool inside = rect().contains(at);
        chooser_.click(inside ? at.x() : -1, inside ? at.y() : -1);
        update();  // the grid is redrawn after every click, on a cell or not
    }

private:
    TextureChooser& chooser_;
};
}  // namespace

ChooserWindow::ChooserWindow(TextureChooser& chooser, QWidget* over) {
    const ChooserSpec& spec = chooser.spec();
    setWindowTitle(QString::fromUtf8(spec.title));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(spec.width, spec.height);

    grid_ = new ChooserGrid(chooser, this);
    grid_->setGeometry(0, 0, spec.width, spec.height);
    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setObjectName(QStringLiteral("chooser_ok"));
    ok_->setGeometry(spec.ok_x(), spec.ok_y(), ChooserSpec::ok_width, ChooserSpec::ok_height);
    ok_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    if (over) {
        // Centred over the main window's client area, never off the top or left.
        const QRect owner = over->geometry();
        const QPoint corner = owner.center() - QPoint(spec.width / 2, spec.height / 2);
        setGeometry(std::max(corner.x(), 0), std::max(corner.y(), 0), spec.width, spec.height);
    }
}
