// Writes a set of tree and water tiles as BMP files for looking at: every
// kind at several widths, through the same "Draw Random" path the window uses.
//
//   brannoc_tile_preview OUT_DIR [SEED]

#include "app/commands/application.hpp"
#include "app/state/control_ids.hpp"
#include "canvas/bmp_writer.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
struct Look {
    const char* name;
    int tab;
    bool conifer;
    bool multi_tree;
    int leaves_item;
};

constexpr Look looks[] = {
    {"water", tab_water, false, false, 4},       {"broadleaf0", tab_tree, false, false, 0},
    {"broadleaf40", tab_tree, false, false, 4},  {"broadleaf100", tab_tree, false, false, 10},
    {"multi", tab_tree, false, true, 4},         {"conifer", tab_tree, true, false, 4},
    {"multiconifer", tab_tree, true, true, 4},
};
constexpr int width_items[] = {0, 1, 6, 11, 16};  // 40, 50, 100, 150, 200
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR [SEED]\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    const unsigned long seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 7;
    auto state = create_app_state();
    if (!state) {
        std::fprintf(stderr, "built-in images failed to decode\n");
        return 1;
    }
    Application app(std::move(state));
    app.random().seed(seed);
    app.controls().write(ctl::draw_tile_area, 1);
    int failures = 0;
    for (const Look& look : looks) {
        for (int item : width_items) {
            app.controls().write(ctl::panel, look.tab);
            app.controls().write(ctl::iso_width, item);
            app.controls().write(ctl::conifer, look.conifer);
            app.controls().write(ctl::multi_tree, look.multi_tree);
            app.controls().write(ctl::leaves_percent, look.leaves_item);
            app.control_event(ctl::draw_random_button);
            const std::string path = out + "/" + look.name + "_" + std::to_string(40 + 10 * item) + ".bmp";
            const WriteResult written = write_bmp(app.state().canvas, path);
            if (!written.ok) {
                std::fprintf(stderr, "%s: %s\n", path.c_str(), written.error.c_str());
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
