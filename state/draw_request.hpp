#pragma once
#include "canvas/colour.hpp"
#include "canvas/painted_mask.hpp"
#include "canvas/surface_ids.hpp"

#include <optional>

// Frame `frame` of a loop of `frames`; one frame (the default) is still
// water, painted exactly as it always was. Moving water sways in place, or
// with a flow drifts towards `flow` degrees (counter-clockwise from the
// screen's right, 90 up the screen).
struct WaterPhase {
    int frame = 0;
    int frames = 1;
    std::optional<double> flow;
    bool still() const { return frames <= 1; }
    bool flows() const { return !still() && flow.has_value(); }
};

// What one draw asks for beyond the controls: the window's draws take the
// defaults, a batch sets them per tile. It travels with the draw, so nothing
// has to be put back afterwards.
struct DrawRequest {
    // Any even width from 40 to 200; 0 follows "Iso width:" (steps of ten).
    int iso_width = 0;
    // Which frame of a water loop the generators paint.
    WaterPhase water_phase;
    // What the canvas is cleared to before the tile is painted.
    Colour background = rgb(0, 0, 0);
    // The surfaces under the canvas's pixels, for normal and height maps:
    // none unless a front end asks for the maps.
    SurfaceIds* surfaces = nullptr;
    // Which of the canvas's pixels the draw paints, for a tile's coverage:
    // none unless a front end asks for it.
    PaintedMask* painted = nullptr;
};
