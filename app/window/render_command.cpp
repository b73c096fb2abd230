#include "app/window/render_command.hpp"

#include "choosers/chooser_kind.hpp"
#include "choosers/texture_chooser.hpp"
#include "export/control_options.hpp"
#include "export/run_options.hpp"
#include "state/control_ids.hpp"

#include <map>
#include <optional>
#include <vector>

namespace {
// The lock box beside each texture button.
const std::map<int, int> lock_of_button = {
    {ctl::wall_texture_button, ctl::lock_wall_texture},
    {ctl::roof_texture_button, ctl::lock_roof_texture},
    {ctl::door_texture_button, ctl::lock_door_texture},
    {ctl::windows_texture_button, ctl::lock_windows_texture},
    {ctl::terrain_ground_texture_button, ctl::terrain_lock_ground_texture},
    {ctl::grass_colour_button, ctl::lock_colour_texture},
    {ctl::terrain_water_texture_button, ctl::lock_terrain_water_texture},
    {ctl::mountain_ground_texture_button, ctl::mountain_lock_ground_texture},
    {ctl::mountain_texture_button, ctl::lock_mountain_texture},
    {ctl::water_texture_1_button, ctl::lock_water_texture_1},
    {ctl::water_texture_2_button, ctl::lock_water_texture_2},
};

std::string joined(const std::vector<int>& numbers) {
    std::string text;
    for (const int n : numbers) text += (text.empty() ? "" : ",") + std::to_string(n);
    return text;
}

// The texture numbers a locked button holds, as its option takes them;
// nothing when the lock keeps nothing a pick could give (an empty list, a
// grass colour that is no cell's).
std::optional<std::string> held_textures(AppState& state, int button) {
    auto list = [](const auto& chosen, int count) {
        std::vector<int> numbers(chosen.begin(), chosen.begin() + std::max(0, count));
        return numbers.empty() ? std::nullopt : std::optional<std::string>(joined(numbers));
    };
    switch (button) {
        case ctl::wall_texture_button: return list(state.chosen_walls, state.chosen_wall_count);
        case ctl::roof_texture_button: return list(state.chosen_roofs, state.chosen_roof_count);
        case ctl::door_texture_button: return std::to_string(state.door_texture);
        case ctl::windows_texture_button: return std::to_string(state.windows_texture);
        case ctl::terrain_ground_texture_button:
        case ctl::mountain_ground_texture_button: return std::to_string(state.ground_texture);
        case ctl::mountain_texture_button: return std::to_string(state.mountain_texture);
        case ctl::terrain_water_texture_button: return std::to_string(state.terrain_water_texture);
        case ctl::water_texture_1_button: return std::to_string(state.water_texture_1);
        case ctl::water_texture_2_button: return std::to_string(state.water_texture_2);
        case ctl::grass_colour_button: {
            // The chooser opens on the cell of the colour in use; the colour
            // holds only if picking that cell stores it again.
            TextureChooser chooser(state, ChooserKind::grass_colour);
            int cell = 0;
            while (cell < chooser.spec().cell_count() && !chooser.framed(cell)) ++cell;
            const Colour held = state.grass_colour;
            ControlModel scratch;
            chooser.close(scratch);
            const bool same = state.grass_colour == held;
            state.grass_colour = held;
            return same ? std::optional<std::string>(std::to_string(cell)) : std::nullopt;
        }
        default: return std::nullopt;
    }
}
}  // namespace

std::string shell_word(const std::string& word) {
    bool plain = !word.empty();
    for (const char c : word)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' || c == ',' || c == '%' ||
              c == '+' || c == '=' || c == '/' || c == ':'))
            plain = false;
    if (plain) return word;
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string render_command(AppState& state, const ControlModel& controls) {
    const TileKindRow* shown = kind_of_tab(controls.read(ctl::panel));
    if (!shown) shown = kind_of_tab(state.last_drawn_tab);
    const TileKindRow& kind = shown ? *shown : kind_row(TileKind::house);
    const int width = iso_width_for_item(controls.read(ctl::iso_width));
    std::string command = "brannoc-render " + dashed(RunOptionId::kind) + " " + kind.name + " " +
                          dashed(RunOptionId::iso_width) + " " + std::to_string(width);

    // Picks first: a pick ticks its lock, so the lock need not be named too.
    std::map<int, std::string> picks;
    for (const ControlOption& option : control_options()) {
        if (option.kind != OptionKind::texture && option.kind != OptionKind::texture_list) continue;
        if (!steered_by(kind, option.tab) || !controls.checked(lock_of_button.at(option.control))) continue;
        if (const auto held = held_textures(state, option.control)) picks[option.control] = *held;
    }
    for (const ControlOption& option : control_options()) {
        if (option.name == run_option(RunOptionId::iso_width).name || !steered_by(kind, option.tab)) continue;
        const int value = controls.read(option.control);
        const int standard = option.spec->default_state;
        switch (option.kind) {
            case OptionKind::flag: {
                bool picked = false;
                for (const auto& [button, lock] : lock_of_button)
                    picked |= lock == option.control && picks.count(button);
                if ((value != 0) == (standard != 0) || picked) break;
                command += " --" + option.name + (value != 0 ? "" : "=false");
                break;
            }
            case OptionKind::choice:
                if (value != standard) command += " --" + option.name + " " + shell_word(option.spec->items[value]);
                break;
            case OptionKind::texture:
            case OptionKind::texture_list:
                if (const auto it = picks.find(option.control); it != picks.end())
                    command += " --" + option.name + " " + it->second;
                break;
        }
    }
    return command;
}
