#pragma once
#include "export/render_settings.hpp"

#include <optional>
#include <string>

// What the command line asks for: settings to run, or text to print (help,
// or one line of error) and the exit code to leave with.
struct ParsedCommandLine {
    std::optional<RenderSettings> settings;
    std::string text;
    int exit_code = 0;
};

// world: the arguments after "brannoc-render world", which draw a world.
ParsedCommandLine parse_render_command_line(int argc, const char* const* argv, bool world = false);
