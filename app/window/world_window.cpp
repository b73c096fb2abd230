#include "app/window/world_window.hpp"

#include "app/window/world_preview.hpp"
#include "app/window/world_readout.hpp"
#include "export/world/world_output.hpp"
#include "generators/world/world_chunks.hpp"
#include "generators/world/world_palettes.hpp"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {
// The fields take more than the renderer does: what it refuses is shown
// in its own words, not silently held back by a field.
QSpinBox* number_field(int low, int high, int step = 1) {
    auto* field = new QSpinBox;
    field->setRange(low, high);
    field->setSingleStep(step);
    field->setKeyboardTracking(false);  // a number is drawn once it is typed, not at each digit
    return field;
}

// "world.tmx and 15 more files"
QString files_line(const WorldFiles& files, const std::string& map) {
    const std::size_t more = files.files.size() - 1;
    return QString::fromStdString(map) +
           (more ? QStringLiteral(" and %1 more file%2").arg(more).arg(more == 1 ? "" : "s") : QString());
}
}  // namespace

WorldWindow::WorldWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      job_([this](std::shared_ptr<const DrawnWorld> world) { world_drawn(world); }) {
    setWindowTitle(QStringLiteral("World"));
    build_form();
    set_choice(default_world_choice());
    resize(900, 640);
}

void WorldWindow::build_form() {
    seed_ = new QLineEdit;
    seed_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,20}")), seed_));
    auto* dice = new QPushButton(QStringLiteral("New seed"));
    dice->setToolTip(QStringLiteral("A new seed at random: another world"));
    width_ = number_field(1, 99999);
    height_ = number_field(1, 99999);
    iso_width_ = number_field(2, 998, 2);
    levels_ = number_field(0, 99);
    variants_ = number_field(1, 999);
    rivers_ = number_field(0, 9999);
    rivers_->setToolTip(QStringLiteral("How many rivers run down to the sea or a lake (0 for none)"));
    palette_ = new QComboBox;
    for (const WorldPalette& palette : world_palettes()) palette_->addItem(QString::fromStdString(palette.name));

    auto* seed_row = new QHBoxLayout;
    seed_row->addWidget(seed_, 1);
    seed_row->addWidget(dice);
    auto* size_row = new QHBoxLayout;
    size_row->addWidget(width_, 1);
    size_row->addWidget(new QLabel(QStringLiteral("x")));
    size_row->addWidget(height_, 1);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Seed:"), seed_row);
    form->addRow(QStringLiteral("Size (cells):"), size_row);
    form->addRow(QStringLiteral("Tile width:"), iso_width_);
    form->addRow(QStringLiteral("Palette:"), palette_);
    form->addRow(QStringLiteral("Levels:"), levels_);
    form->addRow(QStringLiteral("Variants:"), variants_);
    form->addRow(QStringLiteral("Rivers:"), rivers_);

    auto* save = new QPushButton(QStringLiteral("Save world..."));
    auto* copy = new QPushButton(QStringLiteral("Copy command"));
    for (QPushButton* button : {dice, save, copy}) button->setAutoDefault(false);
    progress_ = new QProgressBar;
    progress_->setRange(0, 100);
    cancel_ = new QPushButton(QStringLiteral("Cancel"));
    cancel_->setEnabled(false);
    status_ = new QLabel;
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    readout_ = new QLabel;
    readout_->setMinimumHeight(readout_->fontMetrics().height());  // the view stays put as the pointer reads cells

    auto* side = new QVBoxLayout;
    side->addLayout(form);
    side->addWidget(save);
    side->addWidget(copy);
    side->addStretch(1);
    side->addWidget(status_);
    auto* side_widget = new QWidget;
    side_widget->setLayout(side);
    side_widget->setFixedWidth(280);

    preview_ = new WorldPreview;
    preview_->on_hover = [this](std::optional<QPoint> pixel) { hovered(pixel); };
    auto* progress_row = new QHBoxLayout;
    progress_row->addWidget(progress_, 1);
    progress_row->addWidget(cancel_);
    auto* view = new QVBoxLayout;
    view->addWidget(preview_, 1);
    view->addWidget(readout_);
    view->addLayout(progress_row);

    auto* menu_bar = new QMenuBar;
    QMenu* menu = menu_bar->addMenu(QStringLiteral("&World"));
    const auto add = [&](const char* text, QKeySequence keys, auto slot) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    add("New seed", QKeySequence(Qt::CTRL | Qt::Key_N), [this] { new_seed(); });
    add("Save world...", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save_world(); });
    add("Copy as brannoc-render command", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this] { copy_command(); });
    menu->addSeparator();
    add("Close", QKeySequence(Qt::CTRL | Qt::Key_W), [this] { close(); });

    auto* whole = new QHBoxLayout(this);
    whole->setMenuBar(menu_bar);
    whole->addWidget(side_widget);
    whole->addLayout(view, 1);

    connect(dice, &QPushButton::clicked, this, [this] { new_seed(); });
    connect(save, &QPushButton::clicked, this, [this] { save_world(); });
    connect(copy, &QPushButton::clicked, this, [this] { copy_command(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { cancel(); });
    connect(seed_, &QLineEdit::editingFinished, this, [this] { options_changed(); });
    for (QSpinBox* field : {width_, height_, iso_width_, levels_, variants_, rivers_})
        connect(field, &QSpinBox::valueChanged, this, [this] { options_changed(); });
    connect(palette_, &QComboBox::currentIndexChanged, this, [this] { options_changed(); });

    // A change waits for the next before the world is drawn again: a run of
    // arrow presses draws one world, not one each.
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(250);
    connect(settle_, &QTimer::timeout, this, [this] { draw_now(); });
    poll_ = new QTimer(this);
    poll_->setInterval(50);
    connect(poll_, &QTimer::timeout, this, [this] { progress_->setValue(static_cast<int>(job_.progress() * 100)); });
}

WorldChoice WorldWindow::choice() const {
    WorldChoice c;
    c.seed = seed_->text().toStdString();
    c.width = width_->value();
    c.height = height_->value();
    c.iso_width = iso_width_->value();
    c.palette = palette_->currentText().toStdString();
    c.levels = levels_->value();
    c.variants = variants_->value();
    c.rivers = rivers_->value();
    return c;
}

void WorldWindow::set_choice(const WorldChoice& c) {
    const QSignalBlocker quiet[] = {QSignalBlocker(seed_),      QSignalBlocker(width_),  QSignalBlocker(height_),
                                    QSignalBlocker(iso_width_), QSignalBlocker(levels_), QSignalBlocker(variants_),
                                    QSignalBlocker(rivers_),    QSignalBlocker(palette_)};
    seed_->setText(QString::fromStdString(c.seed));
    width_->setValue(c.width);
    height_->setValue(c.height);
    iso_width_->setValue(c.iso_width);
    palette_->setCurrentText(QString::fromStdString(c.palette));
    levels_->setValue(c.levels);
    variants_->setValue(c.variants);
    rivers_->setValue(c.rivers);
    options_changed();
}

std::shared_ptr<const DrawnWorld> WorldWindow::shown_world() const {
    return drawn_choice_ && *drawn_choice_ == choice() ? drawn_ : nullptr;
}

void WorldWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_world() && !job_.running()) draw_now();
}

// The seed's field tells it has finished editing as it loses its focus,
// which it does while QWidget's destructor takes the children down, after
// this window's own part is gone: nothing of it may answer then.
WorldWindow::~WorldWindow() { seed_->disconnect(this); }

void WorldWindow::closeEvent(QCloseEvent* event) {
    // Closed, it draws nothing: the cores go back to the main window.
    if (job_.running()) cancel();
    QWidget::closeEvent(event);
}

void WorldWindow::keyPressEvent(QKeyEvent* event) {
    // Esc closes this window only; the main window's Esc ends the program.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) return void(close());
    QWidget::keyPressEvent(event);
}

void WorldWindow::options_changed() {
    if (drawing_ && *drawing_ == choice()) return;  // already on its way
    // A save waits for the world it was asked for, not for another.
    if (std::exchange(pending_save_, std::nullopt))
        show_status(QStringLiteral("The options changed: the world was not saved."), false);
    settle_->start();
}

void WorldWindow::draw_now() {
    settle_->stop();
    const WorldChoice c = choice();
    if (drawn_choice_ && *drawn_choice_ == c) {  // back to the world drawn last
        if (job_.running()) cancel();
        return;
    }
    RenderSettings settings;
    if (const Problem problem = world_run_settings(c, settings)) {
        job_.stop();
        drawing_.reset();
        poll_->stop();
        progress_->setValue(0);
        cancel_->setEnabled(false);
        show_error(QString::fromStdString("The world cannot be drawn: " + *problem));
        return;
    }
    drawing_ = c;
    job_.start(settings);
    progress_->setValue(0);
    poll_->start();
    cancel_->setEnabled(true);
    show_status(QStringLiteral("Drawing the world..."), false);
}

void WorldWindow::cancel() {
    settle_->stop();
    job_.stop();
    drawing_.reset();
    poll_->stop();
    progress_->setValue(0);
    cancel_->setEnabled(false);
    if (pending_save_) show_status(QStringLiteral("Stopped: the world was not saved."), false);
    else show_status(QStringLiteral("Stopped."), false);
    pending_save_.reset();
}

void WorldWindow::world_drawn(std::shared_ptr<const DrawnWorld> world) {
    poll_->stop();
    cancel_->setEnabled(false);
    const WorldChoice c = *drawing_;
    drawing_.reset();
    if (world->files.problem) {
        progress_->setValue(0);
        const QString text = QString::fromStdString("The world cannot be drawn: " + *world->files.problem);
        if (std::exchange(pending_save_, std::nullopt)) return save_failed(text);
        return show_error(text);
    }
    progress_->setValue(100);
    drawn_ = world;
    drawn_choice_ = c;
    preview_->show_world(world->image);
    show_status(QStringLiteral("%1 x %2 cells, %3 tiles and %4 objects.")
                    .arg(world->map.width)
                    .arg(world->map.height)
                    .arg(world->files.tiles)
                    .arg(world->files.objects),
                false);
    if (pending_save_ && c == choice()) {
        const std::string folder = *pending_save_;
        pending_save_.reset();
        write_world(*world, folder);
    }
}

void WorldWindow::new_seed() {
    seed_->setText(QString::number(QRandomGenerator::global()->bounded(1, 1'000'000'000)));
    options_changed();
}

void WorldWindow::save_world() {
    RenderSettings settings;
    if (const Problem problem = world_run_settings(choice(), settings))
        return save_failed(QString::fromStdString("The world cannot be saved: " + *problem));
    QFileDialog dialog(this, QStringLiteral("Save world"),
                       QString::fromStdString(last_folder_.empty() ? QDir::currentPath().toStdString() : last_folder_));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Save"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    save_world_in(dialog.selectedFiles().first().toStdString());
}

void WorldWindow::save_world_in(const std::string& folder) {
    if (const std::shared_ptr<const DrawnWorld> world = shown_world()) return write_world(*world, folder);
    pending_save_ = folder;
    draw_now();
    if (drawing_) show_status(QStringLiteral("Drawing the world to save it..."), false);
    else pending_save_.reset();
}

void WorldWindow::write_world(const DrawnWorld& world, const std::string& folder) {
    const RenderSettings& s = world.settings;
    const WorldChunk chunk = world_chunk(s.world_shape.width, s.world_shape.height, s.shard, s.shards);
    std::string problem;
    const std::optional<WorldFolder> place = WorldFolder::prepare(folder, chunk.stem, problem);
    if (!place) return save_failed(QString::fromStdString("The world was not saved: " + problem));
    WorldFiles files = world.files;
    const WorldFolder::Written written = place->write(files);
    if (written.outcome.problem)
        return save_failed(QString::fromStdString("The world was not saved: " + *written.outcome.problem));
    last_folder_ = folder;
    QString text =
        QStringLiteral("Saved %1 in %2.").arg(files_line(files, chunk.stem + ".tmx"), QString::fromStdString(folder));
    for (const std::string& line : {place->leftovers_line(), written.removed_old})
        if (!line.empty()) text += QStringLiteral("\n") + QString::fromStdString(line);
    show_status(text, false);
}

void WorldWindow::copy_command() {
    const std::string command = world_command(choice(), last_folder_);
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(QString::fromStdString(command));
    show_status(QStringLiteral("Copied: ") + QString::fromStdString(command), false);
}

void WorldWindow::show_status(const QString& text, bool error) {
    status_->setStyleSheet(error ? QStringLiteral("color: #b00000;") : QString());
    status_->setText(text);
}

void WorldWindow::show_error(const QString& text) { show_status(text, true); }

void WorldWindow::save_failed(const QString& text) {
    show_error(text);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Save world"), text, QMessageBox::Ok, this);
    box.exec();
}

void WorldWindow::hovered(std::optional<QPoint> pixel) {
    const std::shared_ptr<const DrawnWorld> world = drawn_;
    std::optional<ShownCell> cell;
    if (pixel && world)
        cell = cell_at_pixel(world->map, world->settings.world_shape.levels, world->settings.iso_width,
                             world->image.height(), pixel->x(), pixel->y());
    readout_->setText(cell ? QString::fromStdString(cell_readout(*cell)) : QString());
}
