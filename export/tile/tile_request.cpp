#include "export/tile/tile_request.hpp"

ControlModel run_controls(const TileChoice& choice) {
    ControlModel controls;
    for (const auto& [control, state] : choice.controls) controls.write(control, state);
    return controls;
}
