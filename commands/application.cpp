#include "commands/application.hpp"

#include "commands/commands.hpp"
#include "state/control_ids.hpp"
#include "commands/output_commands.hpp"
#include "state/tile_setup.hpp"
#include "choosers/texture_chooser.hpp"

#include <chrono>

Application::Application(std::unique_ptr<AppState> state, UiPort* ui) : state_(std::move(state)), ui_(ui) {
    // Seeded now rather than at the first draw, so the history's copy of the
    // source taken before that draw already holds the stream.
    random_.seed(static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count()));
    TileContext start = context();
    set_tile_geometry(start);
    set_roof_side(start);
    state_->last_tab = 0;
}

LoopAction Application::handle_event(EventKind kind, int number) {
    switch (kind) {
        case EventKind::Control: return control_event(number);
        case EventKind::KeyboardCommand: return keyboard_command(number);
        case EventKind::Close: return LoopAction::Leave;
    }
    return LoopAction::Continue;
}

LoopAction Application::control_event(int number) {
    TileContext ctx = context();
    switch (number) {
        case ctl::exit_button: return LoopAction::Leave;
        case ctl::draw_random_button: draw_tile(); break;
        case ctl::copy_image_button: copy_image(ctx); break;
        case ctl::save_image_button: save_current_tile(ctx); break;
        case ctl::tiles_creation_button: create_tile_set(ctx, keep_history_ ? &history_ : nullptr); break;
        case ctl::house_shape: set_tile_geometry(ctx); break;
        case ctl::roof_shape: set_roof_side(ctx); break;
        default:
            if (const ChooserButton* b = chooser_for_button(number))
                texture_chooser(ctx, chooser_port_, b->kind, b->water_variant);
            break;  // other controls are read by the generators when they draw
    }
    return LoopAction::Continue;
}

LoopAction Application::keyboard_command(int command) {
    if (command == key_command::draw_random) draw_tile();
    return command == key_command::leave ? LoopAction::Leave : LoopAction::Continue;
}

void Application::draw_tile(const DrawRequest& request) {
    TileContext ctx = context(request);
    if (keep_history_) history_.draw(ctx);
    else draw_random(ctx);
}

bool Application::show_earlier_tile() {
    TileContext ctx = context();
    return history_.show_earlier(ctx);
}

bool Application::show_later_tile() {
    TileContext ctx = context();
    return history_.show_later(ctx);
}

void Application::save_tile_as_png() {
    TileContext ctx = context();
    save_tile_png(ctx, transparent_tile());
}
