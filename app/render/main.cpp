// brannoc-render: the tiles of the Brannoc window, drawn headless in bulk.
#include "app/render/batch_run.hpp"
#include "app/render/command_line.hpp"

#include <cstdio>

int main(int argc, char** argv) {
    const ParsedCommandLine parsed = parse_render_command_line(argc, argv);
    if (!parsed.settings) {
        std::fputs(parsed.text.c_str(), parsed.exit_code == 0 ? stdout : stderr);
        if (!parsed.text.empty() && parsed.text.back() != '\n') std::fputc('\n', parsed.exit_code == 0 ? stdout : stderr);
        return parsed.exit_code;
    }
    return run_batch(*parsed.settings, stderr);
}
