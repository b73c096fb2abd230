#pragma once
#include "canvas/drawing_context.hpp"

#include <vector>

// A leaf cluster's dome on screen, by the surface id its leaves were painted
// with.
struct ClusterDome {
    ClusterDome(SurfaceId id, float cx, float cy, float rx, float ry)
        : id(id),
          cx(cx),
          cy(cy),
          inv_rx(1.0f / rx),
          inv_ry(1.0f / ry) {}
    SurfaceId id;
    float cx, cy, inv_rx, inv_ry;
};

// The clusters' leaves interleave; in the maps each leaf pixel takes the
// dome of the nearest cluster to the viewer over it (the last drawn), so the
// crown reads as overlapping domes, each smooth, not as noise. The domes are
// in drawing order, their ids one apart, and the last painted with them.
void smooth_crown(DrawingContext& dc, const std::vector<ClusterDome>& domes);
