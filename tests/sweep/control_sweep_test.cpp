// A seeded sweep over the whole control table: random valid states for
// every control, some writes out of range through the model, then draws,
// saves, copies, choosers and tile sets on every tab. Under the sanitizer
// build it finds what no single test thinks of. It runs for a fixed time.
#include "state/control_ids.hpp"
#include "state/control_table.hpp"

#include "../support/test_app.hpp"
#include "../support/test_files.hpp"
#include "sweep_support.hpp"

#include <chrono>
#include <cstdlib>

namespace {

void scramble_controls(ControlModel& controls, RandomSource& random) {
    for (const ControlSpec& spec : control_table()) {
        if (spec.number <= 0 || spec.number == ctl::panel || spec.number == ctl::progress_bar) continue;
        switch (spec.kind) {
            case ControlKind::CheckBox: controls.write(spec.number, random_below(random, 2)); break;
            case ControlKind::ComboBox:
                controls.write(spec.number, random_below(random, static_cast<int>(spec.items.size())));
                break;
            default: break;
        }
    }
    // Now and then a command writes nonsense: the model must hold it in range.
    if (random_below(random, 4) == 0) {
        const auto& table = control_table();
        const ControlSpec& spec = table[random_below(random, static_cast<int>(table.size()))];
        const int wild[] = {-1, 1000, -2147483647, 2147483647, 17};
        controls.write(spec.number, wild[random_below(random, 5)]);
    }
    controls.write(ctl::panel, random_below(random, 6));
}

const int chooser_buttons[] = {ctl::wall_texture_button,           ctl::roof_texture_button,
                               ctl::door_texture_button,           ctl::windows_texture_button,
                               ctl::terrain_ground_texture_button, ctl::grass_colour_button,
                               ctl::terrain_water_texture_button,  ctl::mountain_ground_texture_button,
                               ctl::mountain_texture_button,       ctl::water_texture_1_button,
                               ctl::water_texture_2_button};
}  // namespace

TEST(ControlSweep, EveryTabSurvivesRandomSettingsSavesCopiesAndTileSets) {
    TempCurrentDir here("brannoc-sweep-");
    TestApp t(20261208);
    RandomSource dice(42);
    const auto until = SweepClock::now() + sweep_budget(8.0);
    int draws = 0, sets = 0;
    while (SweepClock::now() < until) {
        scramble_controls(t.controls(), dice);
        for (int n = 0; n < 5; ++n) {
            t.app->control_event(ctl::draw_random_button);
            ++draws;
        }
        const RasterImage& canvas = t.state().canvas;
        ASSERT_EQ(canvas.width(), 260);
        ASSERT_EQ(canvas.height(), 260);
        switch (random_below(dice, 8)) {
            case 0: t.app->control_event(ctl::save_image_button); break;
            case 1: t.app->control_event(ctl::copy_image_button); break;
            case 2: t.app->control_event(chooser_buttons[random_below(dice, 11)]); break;
            case 3:
                if (random_below(dice, 6) == 0) {
                    // Small sets keep the sweep moving: large widths, few cells.
                    t.controls().write(ctl::iso_width, 12 + random_below(dice, 5));
                    t.ui.save_answer = "sweep-set.bmp";
                    t.app->control_event(ctl::tiles_creation_button);
                    ++sets;
                }
                break;
            default: break;
        }
    }
    RecordProperty("draws", draws);
    RecordProperty("tile_sets", sets);
    std::printf("sweep: %d tiles drawn, %d tile sets\n", draws, sets);
    EXPECT_GT(draws, 50);
}
