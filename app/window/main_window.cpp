#include "app/window/main_window.hpp"

#include "state/control_ids.hpp"
#include "state/control_table.hpp"
#include "app/window/chooser_window.hpp"
#include "app/window/clipboard_writer.hpp"
#include "app/window/qt_image.hpp"
#include "app/window/save_dialog.hpp"
#include "app/window/tooltips.hpp"
#include "canvas/png_writer.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QGridLayout>
#include <QAbstractItemView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

namespace {

// A combo box is one line high; the height in the table is its opened list.
constexpr int combo_line_height = 21;
constexpr int list_item_height = 16;

// A combo box whose opened list is never taller than the table allows:
// some styles place a long list over the box at full length whatever the
// visible-item limit says, so the popup is held to the limit and scrolls.
class TableComboBox final : public QComboBox {
public:
    TableComboBox(int list_height, QWidget* parent) : QComboBox(parent), list_height_(list_height) {
        // A plain drop-down list under the box, with a scroll bar when the
        // items do not all fit.
        setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    }
    void showPopup() override {
        QComboBox::showPopup();
        QWidget* popup = view()->window();
        if (popup == window() || popup->height() <= list_height_) return;
        popup->resize(popup->width(), list_height_);
        view()->scrollTo(view()->currentIndex());
    }

private:
    int list_height_;
};

// Runs a command with the window marked busy, so a close request that
// arrives while the command repaints is refused rather than half-handled.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag), outer_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = outer_; }

private:
    bool& flag_;
    bool outer_;
};

}  // namespace

int title_bar_width(const QString& title) {
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPixelSize(14);
    return QFontMetrics(font).horizontalAdvance(title) + 3 * 24 + 40;
}

MainWindow::MainWindow(Application& application) : application_(application) {
    setWindowTitle(QString::fromUtf8(window_title));
    // A close box and a sizing border, but no minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(window_client_width, window_client_height);
    create_controls();
    register_shortcuts();
    create_tile_actions();
    add_tooltips(controls_);
    application_.keep_history(true);
    application_.controls().set_listener(this);
    application_.set_ui(this);
    application_.set_chooser_port(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // setGeometry places the client area, whatever the frame around it.
        const QRect area = screen->availableGeometry();
        setGeometry(QRect(area.center() - QPoint(window_client_width / 2, window_client_height / 2),
                          QSize(window_client_width, window_client_height)));
    }
}

MainWindow::~MainWindow() {
    application_.controls().set_listener(nullptr);
    application_.set_ui(nullptr);
    application_.set_chooser_port(nullptr);
}

QWidget* MainWindow::control(int number) const {
    const auto it = controls_.find(number);
    return it == controls_.end() ? nullptr : it->second;
}

void MainWindow::create_controls() {
    // The table lists the main area first, the panel among it, then each
    // tab's controls; the panel creates its pages, in order, when it is made.
    for (const ControlSpec& spec : control_table()) {
        QWidget* parent = spec.tab >= 0 ? panel_->widget(spec.tab) : this;
        QWidget* widget = create_control(spec, parent);
        if (spec.number != ctl::unnumbered) controls_[spec.number] = widget;
        if (spec.disabled) widget->setEnabled(false);
    }
    panel_->setCurrentIndex(application_.controls().read(ctl::panel));
}

QWidget* MainWindow::create_control(const ControlSpec& spec, QWidget* parent) {
    const QString label = QString::fromStdString(spec.label);
    const int number = spec.number;
    QWidget* widget = nullptr;
    switch (spec.kind) {
        case ControlKind::Button: {
            auto* button = new QPushButton(label, parent);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this, number] { dispatch(EventKind::Control, number); });
            widget = button;
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(label, parent);
            box->setChecked(spec.default_state != 0);
            connect(box, &QCheckBox::toggled, this, [this, number](bool on) {
                application_.controls().user_changed(number, on ? 1 : 0);
                dispatch(EventKind::Control, number);
            });
            widget = box;
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = new TableComboBox(std::max(list_item_height, spec.height - combo_line_height), parent);
            combo->setEditable(false);
            for (const std::string& item : spec.items) combo->addItem(QString::fromStdString(item));
            combo->setCurrentIndex(spec.default_state);
            combo->setMaxVisibleItems(std::max(1, (spec.height - combo_line_height) / list_item_height));
            connect(combo, &QComboBox::currentIndexChanged, this, [this, number](int index) {
                application_.controls().user_changed(number, index);
                dispatch(EventKind::Control, number);
            });
            combo->setGeometry(spec.x, spec.y, spec.width, combo_line_height);
            return combo;
        }
        case ControlKind::TextLabel: widget = new QLabel(label, parent); break;
        case ControlKind::Image: {
            auto* image = new QLabel(parent);
            image->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            image->setLineWidth(1);
            image->move(spec.x, spec.y);
            const RasterImage& shown =
                number == ctl::about_image ? application_.state().about_image : application_.state().display_image;
            show_image_in(image, shown);
            return image;
        }
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setRange(0, 100);
            bar->setValue(spec.default_state);
            bar->setTextVisible(false);
            widget = bar;
            break;
        }
        case ControlKind::Panel: {
            panel_ = new QTabWidget(parent);
            for (const std::string& title : spec.items) panel_->addTab(new QWidget, QString::fromStdString(title));
            connect(panel_, &QTabWidget::currentChanged, this, [this, number](int index) {
                application_.controls().user_changed(number, index);
                dispatch(EventKind::Control, number);
            });
            widget = panel_;
            break;
        }
    }
    widget->setGeometry(spec.x, spec.y, spec.width, spec.height);
    return widget;
}

void MainWindow::register_shortcuts() {
    // Esc is not a shortcut: a shortcut would take it from an open list or
    // popup as well. It ends the program in keyPressEvent, which sees it only
    // when nothing else wanted it.
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_R, key_command::draw_random}, {Qt::Key_D, key_command::unbound}};
    for (const auto& [key, command] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this, command = command] { dispatch(EventKind::KeyboardCommand, command); });
    }
}

void MainWindow::dispatch(EventKind kind, int number) {
    run_command([this, kind, number] { return application_.handle_event(kind, number); });
}

void MainWindow::run_command(const std::function<LoopAction()>& command) {
    if (busy_ || leaving_) return;
    LoopAction action = LoopAction::Continue;
    {
        BusyScope scope(busy_);
        action = command();
    }
    if (action == LoopAction::Leave || close_requested_) {
        leaving_ = true;
        close();
        QApplication::exit(0);
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain_esc = event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
    if (plain_esc && !QApplication::activePopupWidget() && !QApplication::activeModalWidget()) {
        dispatch(EventKind::KeyboardCommand, key_command::leave);
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (leaving_) {
        event->accept();
        return;
    }
    if (busy_) {  // a tile set is being drawn: it runs to its end, then the program ends
        event->ignore();
        close_requested_ = true;
        return;
    }
    event->accept();
    leaving_ = true;
    application_.handle_event(EventKind::Close, 0);
    QApplication::exit(0);
}

void MainWindow::run_chooser(TextureChooser& chooser) {
    ChooserWindow dialog(chooser, this);
    setEnabled(false);
    dialog.exec();  // "Ok" and the close box both end it
    setEnabled(true);
    activateWindow();
}

void MainWindow::show_image_in(QLabel* label, const RasterImage& image) {
    label->setPixmap(QPixmap::fromImage(to_qimage(image)));
    const int frame = label->frameWidth();
    label->resize(image.width() + 2 * frame, image.height() + 2 * frame);
}

void MainWindow::show_display_image(const RasterImage& image) {
    if (auto* label = qobject_cast<QLabel*>(control(ctl::tile_image))) show_image_in(label, image);
}

void MainWindow::refresh_during_command() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void MainWindow::show_message(const std::string& title, const std::string& text) {
    const QString title_text = QString::fromStdString(title);
    QMessageBox box(QMessageBox::NoIcon, title_text, QString::fromStdString(text), QMessageBox::Ok, this);
    // A short text makes a narrow box, and the window manager then cuts the
    // title short; keep the box as wide as the title in a title bar's larger
    // bold font, with room for the bar's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(title_bar_width(title_text), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
}

std::optional<std::string> MainWindow::ask_save_file_name(const std::string& title, const std::string& folder,
                                                          const std::string& name, const std::string& filter_text,
                                                          const std::string& pattern) {
    // The display text carries the pattern in Qt's filter syntax.
    SaveDialog dialog(this, QString::fromStdString(title), QString::fromStdString(folder),
                      QString::fromStdString(filter_text), QString::fromStdString(pattern));
    dialog.selectFile(QString::fromStdString(name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

bool MainWindow::put_image_on_clipboard(const RasterImage& image, const std::vector<std::uint8_t>& packed_dib,
                                        const std::vector<std::uint8_t>& bmp_file) {
    Q_UNUSED(packed_dib);  // Qt derives the platform's DIB from the image itself
    // Beside them the PNG with alpha, for editors that read transparency.
    const TransparentTile tile = application_.transparent_tile();
    const auto png = encode_png(tile.image, &tile.alpha, PngDeflater::libdeflate);
    return put_image_on_system_clipboard(image, bmp_file, png ? *png : std::vector<std::uint8_t>{});
}

void MainWindow::state_written(int number, int state) {
    QWidget* widget = control(number);
    if (!widget) return;
    const QSignalBlocker quiet(widget);  // a command's write is not a user event
    if (auto* box = qobject_cast<QCheckBox*>(widget)) box->setChecked(state != 0);
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) combo->setCurrentIndex(state);
    else if (auto* bar = qobject_cast<QProgressBar*>(widget)) bar->setValue(state);
    else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) tabs->setCurrentIndex(state);
}

void MainWindow::enabled_changed(int number, bool enabled) {
    QWidget* widget = control(number);
    if (!widget) return;
    // Disabling the panel stops the tab from changing; the controls on its
    // pages stay usable.
    if (widget == panel_) panel_->tabBar()->setEnabled(enabled);
    else widget->setEnabled(enabled);
}
