#include "export/render_settings.hpp"

ControlModel run_controls(const RenderSettings& settings) {
    ControlModel controls;
    for (const auto& [control, state] : settings.controls) controls.write(control, state);
    return controls;
}
