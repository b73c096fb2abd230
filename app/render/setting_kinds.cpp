#include "app/render/setting_kinds.hpp"

#include "export/control_options.hpp"

#include <algorithm>
#include <map>

namespace {
using json = nlohmann::json;

std::optional<SettingType> type_of(const std::string& name) {
    for (const GeneralSetting& setting : general_settings)
        if (name == setting.name) return setting.type;
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
}  // namespace

std::vector<std::string> every_setting_name() {
    std::vector<std::string> names;
    for (const GeneralSetting& setting : general_settings) names.push_back(setting.name);
    for (const ControlOption& option : control_options()) names.push_back(option.name);
    return names;
}

bool is_unknown_setting(const std::string& name) { return !type_of(name); }

std::optional<std::string> setting_value_text(const std::string& name, const json& value, std::string& text) {
    const bool whole = value.is_number_integer() || value.is_number_unsigned();
    const char* wanted = nullptr;
    if (!type_of(name)) return "unknown setting \"" + name + "\"";
    switch (*type_of(name)) {
        case SettingType::text:
            if (value.is_string()) return text = value.get<std::string>(), std::nullopt;
            wanted = "a string";
            break;
        case SettingType::whole_number:
            if (whole) return text = value.dump(), std::nullopt;
            wanted = "a whole number";
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
            if (value.is_array() && !value.empty() &&
                std::all_of(value.begin(), value.end(), [](const json& v) { return v.is_number_integer() || v.is_number_unsigned(); })) {
                text.clear();
                for (const json& item : value) text += (text.empty() ? "" : ",") + item.dump();
                return std::nullopt;
            }
            wanted = "a texture number or a list of them";
            break;
    }
    return "\"" + name + "\" takes " + wanted + ", not " + (value.is_array() && value.empty() ? "an empty list" : value.type_name());
}

