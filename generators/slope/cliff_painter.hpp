#pragma once
#include "canvas/drawing_context.hpp"
#include "generators/slope/slope_set.hpp"
#include "state/app_state.hpp"

// A cliff tile: the corner field of the transition sets parts high ground
// (one step up) from low, and where the high side faces the viewer a rock
// face one step tall drops from a lit top edge to a shadow at its foot.
//
// Each column is painted back to front between its two ends, each end
// lifted by a step where the edge point it meets is high ground; the field
// along an edge follows from that edge's corners alone, so neighbours agree
// on every end and no pixel of a level is painted by two tiles.
// An over tile paints the ground alone, laid on `background` with its coverage.
void paint_cliff(const AppState& state, const SlopeTileSpec& spec, int half_width, int step, Colour background,
                 DrawingContext& dc);
