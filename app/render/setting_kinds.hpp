#pragma once
#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

// What a setting takes: on the command line as text, in a settings file
// as this JSON type and nothing that only looks like it.
enum class SettingType { text, whole_number, flag, choice, texture, texture_list };

// The settings that are not controls, by name without the dashes, in the
// order they are applied (the kind and width before the controls). A new
// one gets a row here, its option in the command line, and its meaning in
// apply_setting.
struct GeneralSetting {
    const char* name;
    SettingType type;
};
inline constexpr GeneralSetting general_settings[] = {
    {"kind", SettingType::text},          {"iso-width", SettingType::whole_number},
    {"count", SettingType::whole_number}, {"seed", SettingType::whole_number},
    {"tile-seed", SettingType::whole_number}, {"jobs", SettingType::whole_number},
    {"out", SettingType::text},           {"format", SettingType::text},
    {"sheet", SettingType::text},         {"columns", SettingType::whole_number},
    {"spacing", SettingType::whole_number}, {"margin", SettingType::whole_number},
    {"tmx", SettingType::text},           {"godot", SettingType::text},
    {"godot3", SettingType::text},         {"terrains", SettingType::text},
    {"variants", SettingType::whole_number},
    {"textures", SettingType::text},      {"transparent", SettingType::flag},
    {"trim", SettingType::flag},          {"quiet", SettingType::flag},
    {"cell-frames", SettingType::flag},   {"frames", SettingType::whole_number},
    {"frame-ms", SettingType::whole_number}, {"gif", SettingType::flag},
    {"normals", SettingType::flag},       {"heights", SettingType::flag},
    {"lit", SettingType::text},
    {"shard", SettingType::text}};

// Every setting brannoc-render knows: those above and the controls'.
std::vector<std::string> every_setting_name();
bool is_unknown_setting(const std::string& name);

// A settings file's value as its option's text, if its JSON type is the
// one the setting takes ({"out": null}, {"count": [3]}, {"transparent": 1}
// are refused); otherwise the problem, naming the key.
std::optional<std::string> setting_value_text(const std::string& name, const nlohmann::json& value, std::string& text);
