#pragma once
#include "state/app_state.hpp"
#include "state/control_model.hpp"
#include "state/draw_request.hpp"
#include "canvas/random_source.hpp"

class UiPort;

// Everything a generator or command works with, handed over explicitly.
struct TileContext {
    AppState& state;
    ControlModel& controls;
    RandomSource& random;
    UiPort* ui = nullptr;  // none in tests and tools
    DrawRequest request{};
};
