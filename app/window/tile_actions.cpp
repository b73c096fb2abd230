// The tile's own actions: history, PNG, the render command, and the
// right-click menu that lists them with their shortcuts.
#include "app/window/main_window.hpp"

#include "app/window/render_command.hpp"
#include "app/window/world_window.hpp"
#include "state/control_ids.hpp"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>

void MainWindow::create_tile_actions() {
    auto add = [this](const char* text, QList<QKeySequence> keys, std::function<LoopAction()> command) {
        auto* action = new QAction(QString::fromUtf8(text), this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, command = std::move(command)] { run_command(command); });
        addAction(action);  // the shortcuts work without the menu open
        tile_actions_.append(action);
    };
    const auto done = [](auto&& step) {
        return [step = std::forward<decltype(step)>(step)] {
            step();
            return LoopAction::Continue;
        };
    };
    add("Previous tile", {QKeySequence(Qt::CTRL | Qt::Key_Z)}, done([this] { application_.show_earlier_tile(); }));
    add("Next tile", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        done([this] { application_.show_later_tile(); }));
    add("Copy image", {}, [this] { return application_.control_event(ctl::copy_image_button); });
    add("Save image", {}, [this] { return application_.control_event(ctl::save_image_button); });
    add("Save tile as PNG...", {QKeySequence(Qt::CTRL | Qt::Key_S)}, done([this] { application_.save_tile_as_png(); }));
    add("Copy as brannoc-render command", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, done([this] {
            const std::string command = render_command(application_.state(), application_.controls());
            if (QClipboard* clipboard = QGuiApplication::clipboard())
                clipboard->setText(QString::fromStdString(command));
        }));
    add("World...", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W)}, done([this] { show_world_window(); }));

    QWidget* tile = control(ctl::tile_image);
    tile->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tile, &QWidget::customContextMenuRequested, this, &MainWindow::show_tile_menu);
}

void MainWindow::show_world_window() {
    // One, kept when closed: it opens again as it was left.
    if (!world_window_) world_window_ = new WorldWindow(this);
    world_window_->show();
    world_window_->raise();
    world_window_->activateWindow();
}

void MainWindow::show_tile_menu(const QPoint& at) {
    if (busy_ || leaving_) return;
    QMenu menu(this);
    for (QAction* action : tile_actions_) {
        menu.addAction(action);
        if (action->text() == "Next tile" || action->text() == "Save image" ||
            action->text() == "Copy as brannoc-render command")
            menu.addSeparator();
    }
    menu.exec(control(ctl::tile_image)->mapToGlobal(at));
}
