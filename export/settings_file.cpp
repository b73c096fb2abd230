#include "export/settings_file.hpp"

#include "export/run_options.hpp"
#include "export/shown_text.hpp"
#include "canvas/file_input.hpp"

#include <set>

int json_nesting(const std::vector<std::uint8_t>& text) {
    int depth = 0, deepest = 0;
    bool in_string = false, escaped = false;
    for (const std::uint8_t c : text) {
        if (in_string) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

SettingsFile read_settings_file(const std::string& path) {
    const std::string where = dashed(RunOptionId::settings) + " " + shown_path(path) + ": ";
    if (path.empty()) return {{}, dashed(RunOptionId::settings) + ": no file named"};
    const ReadResult read = read_regular_file(path, largest_settings_file);
    if (!read.ok) return {{}, where + "cannot be read: " + read.error};
    if (json_nesting(read.bytes) > deepest_settings_nesting)
        return {{}, where + "is nested deeper than " + std::to_string(deepest_settings_nesting) + " levels"};
    std::set<std::string> keys;
    std::string repeated;
    const auto note_keys = [&](int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
        if (event == nlohmann::json::parse_event_t::key && depth == 1 && repeated.empty() &&
            !keys.insert(parsed.get<std::string>()).second)
            repeated = parsed.get<std::string>();
        return true;
    };
    const nlohmann::json file = nlohmann::json::parse(read.bytes.begin(), read.bytes.end(), note_keys, false);
    if (file.is_discarded()) return {{}, where + "is not valid JSON"};
    if (!file.is_object()) return {{}, where + "holds no object of settings"};
    if (!repeated.empty()) return {{}, where + "\"" + shown(repeated) + "\" is given twice"};
    SettingsFile out;
    for (const auto& [name, value] : file.items()) out.settings.emplace_back(name, value);
    return out;
}
