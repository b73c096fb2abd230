#include "commands/commands.hpp"

#include "state/control_ids.hpp"
#include "canvas/drawing_context.hpp"
#include "../support/test_app.hpp"

TEST(Commands, DrawRandomRecomputesGeometryAndRecordsTheTab) {
    TestApp t;
    t.controls().write(ctl::iso_width, 0);
    t.controls().user_changed(ctl::panel, tab_mountain);
    EXPECT_EQ(t.app->control_event(ctl::draw_random_button), LoopAction::Continue);
    EXPECT_EQ(t.state().geometry.half_width, 20);
    EXPECT_EQ(t.state().last_tab, tab_mountain);
    EXPECT_EQ(t.ui.images_shown, 1);
}

TEST(Commands, RandDrawTheSameWayAndDDoesNothing) {
    TestApp by_button(99), by_key(99);
    for (TestApp* t : {&by_button, &by_key}) {
        t->controls().write(ctl::draw_tile_area, 1);
        t->controls().user_changed(ctl::panel, tab_water);
    }
    by_button.app->control_event(ctl::draw_random_button);
    EXPECT_EQ(by_key.app->keyboard_command(key_command::draw_random), LoopAction::Continue);
    EXPECT_EQ(by_button.state().canvas, by_key.state().canvas);
    EXPECT_EQ(by_key.state().last_tab, tab_water);

    const RasterImage before = by_key.state().canvas;
    EXPECT_EQ(by_key.app->keyboard_command(key_command::unbound), LoopAction::Continue);
    EXPECT_EQ(by_key.app->keyboard_command(12345), LoopAction::Continue);
    EXPECT_EQ(by_key.state().canvas, before);
    EXPECT_EQ(by_key.ui.images_shown, 1);
}

TEST(Commands, AboutTabDrawsNothingButIsRecorded) {
    TestApp t;
    {
        DrawingContext dc(t.state().canvas);
        dc.plot(5, 5, rgb(1, 1, 1));
    }
    const RasterImage before = t.state().canvas;
    t.controls().user_changed(ctl::panel, tab_about);
    t.app->control_event(ctl::draw_random_button);
    EXPECT_EQ(t.state().last_tab, tab_about);
    EXPECT_EQ(t.state().canvas, before);
    EXPECT_EQ(t.ui.images_shown, 0);
}

TEST(Commands, LeavingTheLoop) {
    TestApp t;
    EXPECT_EQ(t.app->control_event(ctl::exit_button), LoopAction::Leave);
    EXPECT_EQ(t.app->keyboard_command(key_command::leave), LoopAction::Leave);
    EXPECT_EQ(t.app->handle_event(EventKind::Close, 0), LoopAction::Leave);
    EXPECT_EQ(t.app->handle_event(EventKind::Control, 999), LoopAction::Continue);
}

TEST(Commands, ShapeAndRoofControlsActAtOnceWithoutDrawing) {
    TestApp t;
    t.controls().user_changed(ctl::house_shape, shape_4x4);
    t.app->control_event(ctl::house_shape);
    EXPECT_EQ(t.state().geometry.house_right_reach, 40);
    EXPECT_EQ(t.state().geometry.house_back_x, 130);

    t.controls().user_changed(ctl::roof_shape, 0);
    t.app->control_event(ctl::roof_shape);
    EXPECT_EQ(t.state().roof_side, 0);
    EXPECT_EQ(t.ui.images_shown, 0);
}

TEST(Commands, ControlsWithoutACommandDoNothing) {
    TestApp t;
    const RasterImage before = t.state().canvas;
    for (int number : {ctl::lock_size, ctl::iso_width, ctl::panel, ctl::draw_tile_area, ctl::leaves_percent})
        EXPECT_EQ(t.app->control_event(number), LoopAction::Continue);
    EXPECT_EQ(t.state().canvas, before);
    EXPECT_EQ(t.ui.images_shown, 0);
}
