#pragma once
#include "state/app_state.hpp"
#include "state/control_model.hpp"
#include "state/tile_context.hpp"
#include "commands/tile_history.hpp"
#include "canvas/random_source.hpp"

#include <memory>

class UiPort;
class ChooserPort;

// Event kinds as the window reports them.
enum class EventKind { Control = 13100, KeyboardCommand = 13101, Close = 16 };
enum class LoopAction { Continue, Leave };

// The running program without its window: the state, the control model, the
// random source, and the dispatch of control and keyboard events to commands.
class Application {
public:
    // Finishes start-up on a created state: geometry, roof side, last tab.
    explicit Application(std::unique_ptr<AppState> state, UiPort* ui = nullptr);

    LoopAction handle_event(EventKind kind, int number);
    // Draws a random tile and keeps it in the history (R and "Draw &Random");
    // a batch asks for its width, water phase, background and surfaces.
    void draw_tile(const DrawRequest& request = {});
    // Step through the last tiles drawn; false when there is none that way.
    bool show_earlier_tile();
    bool show_later_tile();
    // The tile shown, with alpha 0 exactly where it painted nothing.
    TransparentTile transparent_tile() { return history_.transparent_canvas(*state_); }
    // Ctrl+S: asks for a name and writes the tile shown as an RGBA PNG.
    void save_tile_as_png();
    TileHistory& history() { return history_; }
    // Keeping tiles costs a copy of the state's working arrays and the canvas
    // per draw: the window keeps them, a batch of thousands does not.
    void keep_history(bool keep) { keep_history_ = keep; }
    LoopAction control_event(int number);
    LoopAction keyboard_command(int command);

    TileContext context(const DrawRequest& request = {}) { return {*state_, controls_, random_, ui_, request}; }
    AppState& state() { return *state_; }
    ControlModel& controls() { return controls_; }
    RandomSource& random() { return random_; }
    void set_ui(UiPort* ui) { ui_ = ui; }
    // The window that shows texture choosers; without one a chooser closes
    // at once, as by an immediate "Ok".
    void set_chooser_port(ChooserPort* port) { chooser_port_ = port; }

private:
    std::unique_ptr<AppState> state_;
    ControlModel controls_;
    RandomSource random_;
    UiPort* ui_ = nullptr;
    ChooserPort* chooser_port_ = nullptr;
    TileHistory history_;
    bool keep_history_ = false;
};
