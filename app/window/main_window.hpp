#pragma once
#include "commands/application.hpp"
#include "state/control_model.hpp"
#include "state/ui_port.hpp"
#include "choosers/texture_chooser.hpp"

#include <QWidget>
#include <functional>
#include <map>

class QAction;
class QLabel;
class QString;

// How wide a message box must be for a title bar to show its whole title.
int title_bar_width(const QString& title);
class QTabWidget;
class WorldWindow;

// The main window, built from the control table. It mirrors the control
// model both ways and forwards every control event, keyboard command and
// close to the application's commands; it is the application's UiPort.
class MainWindow final : public QWidget, public UiPort, public ChooserPort, private ControlModel::Listener {
public:
    explicit MainWindow(Application& application);
    ~MainWindow() override;

    QWidget* control(int number) const;
    // The tile's actions, in the order of its right-click menu.
    const QList<QAction*>& tile_actions() const { return tile_actions_; }
    // The "World" window, once opened (Ctrl+Shift+W, or "World..." in the tile's menu).
    WorldWindow* world_window() const { return world_window_; }
    void show_world_window();

    // UiPort
    void show_display_image(const RasterImage& image) override;
    void refresh_during_command() override;
    void show_message(const std::string& title, const std::string& text) override;
    std::optional<std::string> ask_save_file_name(const std::string& title, const std::string& folder,
                                                  const std::string& name, const std::string& filter_text,
                                                  const std::string& pattern) override;
    bool put_image_on_clipboard(const RasterImage& image, const std::vector<std::uint8_t>& packed_dib,
                                const std::vector<std::uint8_t>& bmp_file) override;

    // ChooserPort: the chooser as a modal window; the main window is
    // disabled until it closes.
    void run_chooser(TextureChooser& chooser) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void create_controls();
    QWidget* create_control(const struct ControlSpec& spec, QWidget* parent);
    void register_shortcuts();
    void dispatch(EventKind kind, int number);
    // Runs a command unless one is running or the program is ending.
    void run_command(const std::function<LoopAction()>& command);
    void create_tile_actions();
    void show_tile_menu(const QPoint& at);
    void show_image_in(QLabel* label, const RasterImage& image);

    // ControlModel::Listener
    void state_written(int number, int state) override;
    void enabled_changed(int number, bool enabled) override;

    Application& application_;
    std::map<int, QWidget*> controls_;
    QTabWidget* panel_ = nullptr;
    QList<QAction*> tile_actions_;
    WorldWindow* world_window_ = nullptr;
    bool busy_ = false;
    bool leaving_ = false;
    // A close request that came while a command ran: honoured when it ends.
    bool close_requested_ = false;
};
