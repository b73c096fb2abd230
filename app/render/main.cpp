// brannoc-render: the tiles of the Brannoc window, drawn headless in bulk.
#include "app/render/batch_run.hpp"
#include "app/render/command_line.hpp"
#include "app/render/report_line.hpp"
#include "app/render/shard_merge.hpp"
#include "app/render/world_run.hpp"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "merge")
        return merge_command(std::vector<std::string>(argv + 2, argv + argc), stdout, stderr);
    // "brannoc-render world ...": a whole map; its arguments follow.
    const bool world = argc >= 2 && std::string(argv[1]) == "world";
    const ParsedCommandLine parsed =
        world ? parse_render_command_line(argc - 1, argv + 1, true) : parse_render_command_line(argc, argv);
    if (!parsed.settings) {
        std::fputs(parsed.text.c_str(), parsed.exit_code == 0 ? stdout : stderr);
        if (!parsed.text.empty() && parsed.text.back() != '\n')
            std::fputc('\n', parsed.exit_code == 0 ? stdout : stderr);
        return parsed.exit_code;
    }
    return world ? run_world(*parsed.settings, stderr) : run_batch(*parsed.settings, stderr);
}
