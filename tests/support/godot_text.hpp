#pragma once
#include "test_files.hpp"

#include <cstdint>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

// Godot's text resource format, as the tests read it back: [section ...]
// headers, then key = value lines.
struct GodotSection {
    std::string header;
    std::map<std::string, std::string> keys;
    // A header's field: `id` of [ext_resource ... id="2"].
    std::string field(const std::string& name) const {
        std::smatch m;
        return std::regex_search(header, m, std::regex("\\s" + name + "=\"([^\"]*)\"")) ? std::string(m[1]) : "";
    }
};

inline std::vector<GodotSection> read_godot_text(const std::string& text) {
    std::vector<GodotSection> sections;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) continue;
        if (line.front() == '[') {
            sections.push_back({line, {}});
            continue;
        }
        const std::size_t eq = line.find(" = ");
        if (eq != std::string::npos && !sections.empty())
            sections.back().keys[line.substr(0, eq)] = line.substr(eq + 3);
    }
    return sections;
}

inline std::vector<GodotSection> read_godot_resource(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    return read_godot_text(std::string(bytes.begin(), bytes.end()));
}

// Base64 as Godot and Tiled write it.
inline std::vector<std::uint8_t> from_base64(const std::string& text) {
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<std::uint8_t> out;
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        if (c == '=') break;
        bits = bits << 6 | static_cast<std::uint32_t>(digits.find(c));
        if ((count += 6) >= 8) out.push_back(static_cast<std::uint8_t>(bits >> (count -= 8)));
    }
    return out;
}
