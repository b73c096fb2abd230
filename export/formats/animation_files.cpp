#include "export/formats/animation_files.hpp"

#include <cstdio>

namespace {
// Seconds as Godot writes a float: the shortest text that reads back the same.
std::string seconds_text(int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms / 1000.0);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s += '0';
    return s;
}
}  // namespace

std::string tiled_animation(int first_id, int frames, int frame_ms) {
    std::string out = "  <animation>\n";
    for (int f = 0; f < frames; ++f)
        out += "   <frame tileid=\"" + std::to_string(first_id + f) + "\" duration=\"" + std::to_string(frame_ms) +
               "\"/>\n";
    return out + "  </animation>\n";
}

GodotKeys godot_animation_keys(int frames, int frame_ms) {
    // In the order Godot itself saves them; the count comes before the
    // durations so each frame it names already exists.
    GodotKeys keys = {{"animation_columns", std::to_string(frames)},
                      {"animation_mode", "0"},
                      {"animation_frames_count", std::to_string(frames)}};
    for (int f = 0; f < frames; ++f)
        keys.emplace_back("animation_frame_" + std::to_string(f) + "/duration", seconds_text(frame_ms));
    return keys;
}
