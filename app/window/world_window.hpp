#pragma once
#include "app/window/world_choice.hpp"
#include "app/window/world_job.hpp"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;
class WorldPreview;

// The "World" window: a world's options, its render drawn off the window's
// thread as they change, and the world saved into a folder or copied as
// the brannoc-render command that writes the same files. Not modal: the
// main window works on beside it.
class WorldWindow final : public QWidget {
public:
    explicit WorldWindow(QWidget* parent = nullptr);
    ~WorldWindow() override;

    WorldChoice choice() const;
    void set_choice(const WorldChoice& choice);
    // The world last drawn for the options shown, once it is drawn.
    std::shared_ptr<const DrawnWorld> shown_world() const;
    bool drawing() const { return job_.running(); }

    // What the window's actions do, also for the tests to call.
    void new_seed();
    void save_world();
    void copy_command();
    void cancel();
    // Writes the world of the options shown into `folder`, drawing it first
    // if need be; the outcome is told on screen.
    void save_world_in(const std::string& folder);

    QLabel* status() const { return status_; }
    QLabel* readout() const { return readout_; }
    QProgressBar* progress() const { return progress_; }
    WorldPreview* preview() const { return preview_; }
    QPushButton* cancel_button() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build_form();
    void options_changed();
    void draw_now();
    void world_drawn(std::shared_ptr<const DrawnWorld> world);
    void write_world(const DrawnWorld& world, const std::string& folder);
    void show_status(const QString& text, bool error);
    void show_error(const QString& text);
    void save_failed(const QString& text);  // on screen, and in a message box
    void hovered(std::optional<QPoint> pixel);

    QLineEdit* seed_ = nullptr;
    QSpinBox *width_ = nullptr, *height_ = nullptr, *iso_width_ = nullptr, *levels_ = nullptr, *variants_ = nullptr,
             *rivers_ = nullptr;
    QComboBox* palette_ = nullptr;
    WorldPreview* preview_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel *status_ = nullptr, *readout_ = nullptr;
    QTimer *settle_ = nullptr, *poll_ = nullptr;

    WorldJob job_;
    std::optional<WorldChoice> drawing_;       // the options of the world being drawn
    std::shared_ptr<const DrawnWorld> drawn_;  // the last world drawn
    std::optional<WorldChoice> drawn_choice_;  // its options
    std::optional<std::string> pending_save_;  // a folder waiting for the world being drawn
    std::string last_folder_;                  // the last folder saved into
};
