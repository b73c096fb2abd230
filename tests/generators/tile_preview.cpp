// Writes a set of tiles of every kind as BMP files for looking at: every
// kind at several widths, through the same "Draw Random" path the window uses.
//
//   brannoc_tile_preview OUT_DIR [SEED]

#include "commands/application.hpp"
#include "state/control_ids.hpp"
#include "state/control_table.hpp"
#include "canvas/bmp_writer.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
struct Setting {
    int control;
    int state;
};
struct Look {
    const char* name;
    int tab;
    std::vector<Setting> settings;
};

const std::vector<Look>& looks() {
    using namespace ctl;
    static const std::vector<Look> table = {
        {"house", tab_house, {}},
        {"house_ruin", tab_house, {{draw_ruins, 1}}},
        {"house_all",
         tab_house,
         {{add_ground, 1}, {add_flowers, 1}, {add_left_fence, 1}, {add_right_fence, 1}, {grass, 1}}},
        {"house_tall", tab_house, {{lock_height, 1}, {lowest_height, 8}, {highest_height, 8}, {lock_shape, 1}}},
        {"water", tab_water, {}},
        {"broadleaf0", tab_tree, {{leaves_percent, 0}}},
        {"broadleaf40", tab_tree, {{leaves_percent, 4}}},
        {"broadleaf100", tab_tree, {{leaves_percent, 10}}},
        {"multi", tab_tree, {{multi_tree, 1}}},
        {"conifer", tab_tree, {{conifer, 1}}},
        {"multiconifer", tab_tree, {{conifer, 1}, {multi_tree, 1}}},
        {"terrain_plain", tab_terrain, {}},
        {"terrain_default", tab_terrain, {{grass, 1}, {boulder, 1}, {bush, 1}, {pool, 1}}},
        {"terrain_grass", tab_terrain, {{grass, 1}, {lock_density, 0}}},
        {"terrain_crops", tab_terrain, {{grass, 1}, {make_crops, 1}, {grass_density, 8}}},
        {"terrain_boulders", tab_terrain, {{boulder, 1}, {boulder_quantity, 10}}},
        {"terrain_bushes", tab_terrain, {{bush, 1}}},
        {"terrain_trees", tab_terrain, {{terrain_tree, 1}, {multi_tree, 1}, {grass, 1}}},
        {"terrain_pool", tab_terrain, {{pool, 1}}},
        {"terrain_swamp", tab_terrain, {{swamp, 1}, {pool, 1}}},
        {"terrain_all",
         tab_terrain,
         {{grass, 1}, {boulder, 1}, {bush, 1}, {terrain_tree, 1}, {pool, 1}, {swamp, 1}, {multi_tree, 1}}},
        {"mountain", tab_mountain, {}},
        {"mountain_snow", tab_mountain, {{snow_covered_top, 1}, {add_black_border, 1}}},
        {"mountain_allsnow", tab_mountain, {{all_snow, 1}}},
        {"mountain_hill", tab_mountain, {{reduce_to_hill, 1}, {snow_covered_top, 1}}},
        {"mountain_bare", tab_mountain, {{no_terrain, 1}, {add_black_border, 1}}},
    };
    return table;
}
constexpr int width_items[] = {0, 1, 6, 11, 16};  // 40, 50, 100, 150, 200

// Every control a look may set, back at its default before the next look.
void reset_controls(ControlModel& controls) {
    for (const ControlSpec& spec : control_table())
        if (spec.number > 0 && spec.number != ctl::panel && spec.number != ctl::iso_width)
            controls.write(spec.number, spec.default_state);
}
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
    int failures = 0;
    for (const Look& look : looks()) {
        for (int item : width_items) {
            reset_controls(app.controls());
            app.controls().write(ctl::draw_tile_area, 1);
            app.controls().write(ctl::lock_size, 1);
            app.controls().write(ctl::panel, look.tab);
            app.controls().write(ctl::iso_width, item);
            for (const Setting& setting : look.settings) app.controls().write(setting.control, setting.state);
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
