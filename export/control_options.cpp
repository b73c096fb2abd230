#include "export/control_options.hpp"

#include "export/run_options.hpp"
#include "state/control_ids.hpp"

#include <algorithm>
#include <cctype>
#include <map>

namespace {
// Labels read as option names, lower case with dashes; a few labels carry a
// parenthesis or the program's own spellings, and read better shortened.
std::string name_from_label(const std::string& label) {
    static const std::map<std::string, std::string> plainer = {
        {"Heigth from/to:", "height"},
        {"Lock heigth", "lock-height"},
        {"Boulder quantiy:", "boulder-quantity"},
        {"Tree (as defined in tree panel)", "trees"},
        {"Add ground (as defined in terrain panel)", "add-ground"},
        {"% leaves:", "leaves"},
    };
    if (const auto it = plainer.find(label); it != plainer.end()) return it->second;
    std::string name;
    for (const char c : label) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!name.empty() && name.back() != '-') name += '-';
    }
    while (!name.empty() && name.back() == '-') name.pop_back();
    return name;
}

// Ranges of texture numbers by the button that picks them.
int texture_count(int button) {
    switch (button) {
        case ctl::wall_texture_button: return 24;
        case ctl::roof_texture_button: return 12;
        case ctl::terrain_ground_texture_button:
        case ctl::mountain_ground_texture_button:
        case ctl::mountain_texture_button: return 20;
        default: return 10;  // doors, windows, waters, grass colours
    }
}

std::string items_text(const ControlSpec& spec) {
    std::string text;
    for (const std::string& item : spec.items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

std::vector<ControlOption> build_options() {
    std::vector<ControlOption> options;
    std::string pending_label;
    for (const ControlSpec& spec : control_table()) {
        if (spec.tab >= 0 && !kind_of_tab(spec.tab)) continue;  // a tab without a kind (About) steers nothing
        if (spec.kind == ControlKind::TextLabel) {
            pending_label = spec.label;
            continue;
        }
        if (spec.number <= 0 || spec.disabled) continue;
        ControlOption option{"", OptionKind::flag, spec.number, spec.tab, "", &spec};
        if (spec.kind == ControlKind::CheckBox) {
            option.name = name_from_label(spec.label);
            option.description = "tick \"" + spec.label + "\"";
        } else if (spec.kind == ControlKind::ComboBox) {
            option.kind = OptionKind::choice;
            option.name = name_from_label(pending_label);
            // Two combos under one label ("Heigth from/to:") are its from and to.
            if (spec.number == ctl::lowest_height) option.name += "-from";
            if (spec.number == ctl::highest_height) option.name += "-to";
            option.description = "\"" + pending_label + "\" one of: " + items_text(spec);
        } else if (spec.kind == ControlKind::Button && spec.tab >= 0) {
            const bool list = spec.number == ctl::wall_texture_button || spec.number == ctl::roof_texture_button;
            option.kind = list ? OptionKind::texture_list : OptionKind::texture;
            option.texture_count = texture_count(spec.number);
            option.name = name_from_label(spec.label);
            option.description = list ? "the textures \"" + spec.label + "\" picks from, numbers separated by commas"
                                      : "the texture \"" + spec.label + "\" picks, by number";
        } else {
            continue;
        }
        options.push_back(option);
    }
    // A name on two tabs takes each tab's name before it.
    std::map<std::string, std::map<int, int>> tabs_of;
    for (const ControlOption& option : options) ++tabs_of[option.name][option.tab];
    for (ControlOption& option : options)
        if (tabs_of[option.name].size() > 1)
            option.name = std::string(kind_of_tab(option.tab)->name) + "-" + option.name;
    return options;
}
}  // namespace

const std::vector<ControlOption>& control_options() {
    static const std::vector<ControlOption> options = build_options();
    return options;
}

const ControlOption* find_control_option(const std::string& name) {
    for (const ControlOption& option : control_options())
        if (option.name == name) return &option;
    return nullptr;
}

int combo_item_for(const ControlSpec& spec, const std::string& value) {
    auto bare = [](std::string text) {
        for (const char* suffix : {" %", "%", " x"})
            if (text.size() > std::string(suffix).size() && text.ends_with(suffix))
                return text.substr(0, text.size() - std::string(suffix).size());
        return text;
    };
    for (std::size_t k = 0; k < spec.items.size(); ++k)
        if (spec.items[k] == value || bare(spec.items[k]) == value) return static_cast<int>(k);
    return -1;
}

Problem read_control_value(TileChoice& s, const ControlOption& option, const std::string& value) {
    const std::string where = "--" + option.name + ": ";
    switch (option.kind) {
        case OptionKind::flag: {
            bool on = false;
            if (!read_flag(value, on)) return where + in_quotes(value) + " is not true or false";
            s.controls.emplace_back(option.control, on ? 1 : 0);
            return std::nullopt;
        }
        case OptionKind::choice: {
            const int item = combo_item_for(*option.spec, value);
            if (item < 0) return where + in_quotes(value) + " is not one of: " + items_text(*option.spec);
            s.controls.emplace_back(option.control, item);
            return std::nullopt;
        }
        case OptionKind::texture:
        case OptionKind::texture_list: {
            std::vector<int> picks;
            for (std::size_t start = 0; start <= value.size();) {
                const std::size_t comma = std::min(value.find(',', start), value.size());
                const std::string part = value.substr(start, comma - start);
                start = comma + 1;
                if (part.empty())
                    return where + in_quotes(value) + " has an empty place: texture numbers from 0 to " +
                           std::to_string(option.texture_count - 1) + ", separated by single commas";
                long long number = -1;
                if (!read_whole_number(part, number) || number < 0 || number >= option.texture_count)
                    return where + in_quotes(part) + " is not a texture number from 0 to " +
                           std::to_string(option.texture_count - 1);
                picks.push_back(static_cast<int>(number));
            }
            if (option.kind == OptionKind::texture && picks.size() != 1) return where + "takes one texture number";
            s.textures.emplace_back(option.control, picks);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

nlohmann::json control_value(const ControlOption& option, int state) {
    if (option.kind == OptionKind::flag) return state != 0;
    return option.spec->items[state];
}

nlohmann::json texture_value(const ControlOption& option, const std::vector<int>& picks) {
    if (option.kind == OptionKind::texture) return picks.front();
    return picks;
}
