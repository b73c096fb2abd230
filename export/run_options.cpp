#include "export/run_options.hpp"

#include "export/render_settings.hpp"

#include "export/control_options.hpp"
#include "export/shown_text.hpp"

#include <algorithm>
#include <charconv>

namespace {
using json = nlohmann::json;
using Id = RunOptionId;
}  // namespace

const RunOption& run_option(RunOptionId id) {
    for (const RunOption& option : run_options())
        if (option.id == id) return option;
    return run_options().front();
}

const RunOption* find_run_option(const std::string& name) {
    for (const RunOption& option : run_options())
        if (name == option.name) return &option;
    return nullptr;
}

std::string dashed(RunOptionId id) { return std::string("--") + run_option(id).name; }

bool shapes_world(const RunOption& option) { return option.part == OptionPart::world; }

bool applies_to_world(const RunOption& option) {
    return option.part == OptionPart::run || option.part == OptionPart::tile_drawing || shapes_world(option);
}

std::string in_quotes(const std::string& value) { return "\"" + shown(value) + "\""; }

bool read_whole_number(const std::string& text, long long& value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && !text.empty();
}

bool read_flag(const std::string& text, bool& value) {
    if (text == "true" || text == "1" || text == "yes" || text == "on") return value = true, true;
    if (text == "false" || text == "0" || text == "no" || text == "off") return value = false, true;
    return false;
}

std::optional<SettingType> setting_type(const std::string& name) {
    if (const RunOption* option = find_run_option(name)) return option->type;
    const ControlOption* option = find_control_option(name);
    if (!option) return std::nullopt;
    switch (option->kind) {
        case OptionKind::flag: return SettingType::flag;
        case OptionKind::choice: return SettingType::choice;
        case OptionKind::texture: return SettingType::texture;
        case OptionKind::texture_list: return SettingType::texture_list;
    }
    return std::nullopt;
}

std::vector<std::string> every_setting_name() {
    std::vector<std::string> names;
    for (const RunOption& option : run_options())
        if (option.read) names.push_back(option.name);
    for (const ControlOption& option : control_options()) names.push_back(option.name);
    return names;
}

Problem setting_value_text(const std::string& name, const json& value, std::string& text) {
    const bool whole = value.is_number_integer() || value.is_number_unsigned();
    const char* wanted = nullptr;
    const std::optional<SettingType> type = setting_type(name);
    if (!type) return "unknown setting \"" + name + "\"";
    switch (*type) {
        case SettingType::text:
            if (value.is_string()) return text = value.get<std::string>(), std::nullopt;
            wanted = "a string";
            break;
        case SettingType::whole_number:
            if (whole) return text = value.dump(), std::nullopt;
            wanted = "a whole number";
            break;
        case SettingType::number:
            if (value.is_number()) return text = value.dump(), std::nullopt;
            wanted = "a number";
            break;
        case SettingType::flag:
            if (value.is_boolean()) return text = value.get<bool>() ? "true" : "false", std::nullopt;
            wanted = "true or false";
            break;
        case SettingType::choice:
            if (value.is_string()) return text = value.get<std::string>(), std::nullopt;
            if (whole) return text = value.dump(), std::nullopt;
            wanted = "a string or a number";
            break;
        case SettingType::texture:
            if (whole) return text = value.dump(), std::nullopt;
            wanted = "a texture number";
            break;
        case SettingType::texture_list:
            if (whole) return text = value.dump(), std::nullopt;
            if (value.is_array() && !value.empty() && std::all_of(value.begin(), value.end(), [](const json& v) {
                    return v.is_number_integer() || v.is_number_unsigned();
                })) {
                text.clear();
                for (const json& item : value) text += (text.empty() ? "" : ",") + item.dump();
                return std::nullopt;
            }
            wanted = "a texture number or a list of them";
            break;
    }
    return "\"" + name + "\" takes " + wanted + ", not " +
           (value.is_array() && value.empty() ? "an empty list" : value.type_name());
}

Problem apply_setting(RenderSettings& s, const std::string& name, const std::string& value) {
    const RunOption* option = find_run_option(name);
    if (value.empty() && option && option->when_bare) return "--" + name + ": " + option->when_bare;
    if (value.empty()) return "--" + name + ": no value given";
    if (value.find('\0') != std::string::npos) return "--" + name + ": the value holds a NUL character";
    if (option && option->read) return option->read(s, value);
    if (const ControlOption* control = find_control_option(name)) return read_control_value(s, *control, value);
    return "unknown setting " + in_quotes(name);
}

json settings_block(const RenderSettings& s) {
    json out;
    for (const RunOption& option : run_options()) {
        if (s.world && !applies_to_world(option)) continue;  // a world's own settings, and only those
        if (option.written)
            if (json value = option.written(s); !value.is_null()) out[option.name] = std::move(value);
    }
    if (s.world) return out;  // a world takes no control of a tab
    const std::string& width = run_option(Id::iso_width).name;
    for (const auto& [control, state] : s.controls)
        for (const ControlOption& option : control_options())
            if (option.control == control && option.name != width) out[option.name] = control_value(option, state);
    for (const auto& [button, picks] : s.textures)
        for (const ControlOption& option : control_options())
            if (option.control == button) out[option.name] = texture_value(option, picks);
    return out;
}

json drawn_block(const TileRequest& tile, DrawnIn which) {
    json out;
    for (const RunOption& option : run_options())
        if (option.written_tile && (option.drawn_in & which) != 0)
            if (json value = option.written_tile(tile); !value.is_null()) out[option.name] = std::move(value);
    return out;
}
