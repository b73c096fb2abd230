#include "app/commands/application.hpp"

#include "app/commands/commands.hpp"
#include "app/state/control_ids.hpp"
#include "app/commands/output_commands.hpp"
#include "app/state/tile_frame.hpp"
#include "choosers/texture_chooser.hpp"

namespace {
struct ChooserButton {
    int button;
    ChooserKind kind;
    int water_variant;
};
// Every texture button of the panel and the chooser it opens.
constexpr ChooserButton chooser_buttons[] = {
    {ctl::terrain_water_texture_button, ChooserKind::water, 0},
    {ctl::water_texture_1_button, ChooserKind::water, 1},
    {ctl::water_texture_2_button, ChooserKind::water, 2},
    {ctl::grass_colour_button, ChooserKind::grass_colour, 0},
    {ctl::windows_texture_button, ChooserKind::windows, 0},
    {ctl::mountain_texture_button, ChooserKind::mountain, 0},
    {ctl::wall_texture_button, ChooserKind::wall, 0},
    {ctl::door_texture_button, ChooserKind::door, 0},
    {ctl::terrain_ground_texture_button, ChooserKind::ground, 0},
    {ctl::mountain_ground_texture_button, ChooserKind::ground, 0},
    {ctl::roof_texture_button, ChooserKind::roof, 0},
};
}  // namespace

Application::Application(std::unique_ptr<AppState> state, UiPort* ui) : state_(std::move(state)), ui_(ui) {
    TileContext start = context();
    compute_house_footprint(start);
    read_roof_side(start);
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
        case ctl::draw_random_button: draw_random(ctx); break;
        case ctl::copy_image_button: copy_image(ctx); break;
        case ctl::save_image_button: save_current_tile(ctx); break;
        case ctl::tiles_creation_button: create_tile_set(ctx); break;
        case ctl::house_shape: compute_house_footprint(ctx); break;
        case ctl::roof_shape: read_roof_side(ctx); break;
        default:
            for (const ChooserButton& b : chooser_buttons)
                if (b.button == number) texture_chooser(ctx, chooser_port_, b.kind, b.water_variant);
            break;  // other controls are read by the generators when they draw
    }
    return LoopAction::Continue;
}

LoopAction Application::keyboard_command(int command) {
    if (command == key_command::draw_random) {
        TileContext ctx = context();
        draw_random(ctx);
    }
    return command == key_command::leave ? LoopAction::Leave : LoopAction::Continue;
}
