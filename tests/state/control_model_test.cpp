#include "state/control_model.hpp"

#include "state/control_ids.hpp"

#include <gtest/gtest.h>

namespace {
struct Recorder : ControlModel::Listener {
    void state_written(int number, int state) override { writes.emplace_back(number, state); }
    void enabled_changed(int number, bool enabled) override { enables.emplace_back(number, enabled); }
    std::vector<std::pair<int, int>> writes;
    std::vector<std::pair<int, bool>> enables;
};
}  // namespace

TEST(ControlModel, DefaultsAndUnknownNumbers) {
    ControlModel model;
    EXPECT_EQ(model.read(ctl::iso_width), 6);
    EXPECT_EQ(model.read(ctl::lock_size), 1);
    EXPECT_EQ(model.read(ctl::draw_tile_area), 0);
    EXPECT_EQ(model.read(ctl::panel), 0);
    EXPECT_EQ(model.read(3), 0);
    EXPECT_EQ(model.read(1000), 0);
    model.write(3, 5);
    EXPECT_EQ(model.read(3), 0);
    model.set_enabled(3, false);
    EXPECT_FALSE(model.enabled(3));
    EXPECT_FALSE(model.enabled(ctl::tree_width));
    EXPECT_TRUE(model.enabled(ctl::draw_random_button));
}

TEST(ControlModel, WritesAreKeptInRangeAndEchoedToTheWindow) {
    ControlModel model;
    Recorder recorder;
    model.set_listener(&recorder);
    model.write(ctl::draw_tile_area, 7);
    EXPECT_EQ(model.read(ctl::draw_tile_area), 1);
    model.write(ctl::iso_width, 16);
    model.write(ctl::iso_width, 17);  // no such item: ignored
    model.write(ctl::iso_width, -1);
    EXPECT_EQ(model.read(ctl::iso_width), 16);
    model.write(ctl::progress_bar, 150);
    EXPECT_EQ(model.read(ctl::progress_bar), 100);
    model.write(ctl::draw_random_button, 1);  // a button holds no state
    EXPECT_EQ(recorder.writes, (std::vector<std::pair<int, int>>{{34, 1}, {7, 16}, {46, 100}}));

    model.user_changed(ctl::panel, 4);  // the window already shows it: no echo
    EXPECT_EQ(model.read(ctl::panel), 4);
    EXPECT_EQ(recorder.writes.size(), 3u);

    model.set_enabled(ctl::exit_button, false);
    EXPECT_FALSE(model.enabled(ctl::exit_button));
    EXPECT_EQ(recorder.enables, (std::vector<std::pair<int, bool>>{{2, false}}));
}
