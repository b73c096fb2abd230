#pragma once
#include "commands/application.hpp"
#include "fake_ui.hpp"

#include <gtest/gtest.h>

#include <memory>

// A started application with a fake window and a fixed seed.
struct TestApp {
    explicit TestApp(std::uint64_t seed = 1234) {
        auto state = create_app_state();
        EXPECT_NE(state, nullptr) << "built-in images failed to decode";
        app = std::make_unique<Application>(std::move(state), &ui);
        app->random().seed(seed);
    }
    AppState& state() { return app->state(); }
    ControlModel& controls() { return app->controls(); }
    TileContext context() { return app->context(); }

    FakeUi ui;
    std::unique_ptr<Application> app;
};
