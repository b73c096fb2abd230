#pragma once
#include "canvas/drawing_context.hpp"
#include "generators/slope/slope_set.hpp"
#include "state/app_state.hpp"

// A slope tile: the flat tile's ground lifted onto the slope's surface
// (slope_surface.hpp), each pixel lit by the surface's own normal there.
// An over tile's pixels are laid on `background` with their coverage.
void paint_slope(const AppState& state, const SlopeTileSpec& spec, int half_width, int step, Colour background,
                 DrawingContext& dc);
