#pragma once
#include "export/problem.hpp"

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

// A --settings file, read as untrusted input: a regular file of at most
// 1 MB (never waiting on a FIFO), valid JSON nested no deeper than a few
// levels, one object whose keys appear once each. The settings
// by name, or the problem (one line, naming the file shown safely).
struct SettingsFile {
    std::vector<std::pair<std::string, nlohmann::json>> settings;
    Problem problem;
};

inline constexpr std::size_t largest_settings_file = 1 << 20;
inline constexpr int deepest_settings_nesting = 16;

SettingsFile read_settings_file(const std::string& path);

// How deep brackets nest in JSON text, strings skipped: checked before
// parsing, since a value nested 50,000 deep would overflow the stack of
// anything that walks it (its destructor too).
int json_nesting(const std::vector<std::uint8_t>& text);
