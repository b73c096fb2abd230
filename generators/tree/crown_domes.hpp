#pragma once
#include "canvas/drawing_context.hpp"

#include <cstddef>
#include <utility>
#include <vector>

// A leaf cluster's dome on screen, by the surface id its leaves were painted
// with, and how many leaf pixels the crown had listed before it.
struct ClusterDome {
    ClusterDome(SurfaceId id, float cx, float cy, float rx, float ry, std::size_t leaves_before)
        : id(id),
          cx(cx),
          cy(cy),
          inv_rx(1.0f / rx),
          inv_ry(1.0f / ry),
          leaves_before(leaves_before) {}
    SurfaceId id;
    float cx, cy, inv_rx, inv_ry;
    std::size_t leaves_before;
};

// The clusters' leaves interleave; in the maps each leaf (x, y, drawing
// coordinates, each pixel once, in the order first painted) takes the dome
// of the nearest cluster to the viewer over it (the last drawn), so the
// crown reads as overlapping domes, each smooth, not as noise. The domes are
// in drawing order, their ids one apart.
void smooth_crown(DrawingContext& dc, const std::vector<ClusterDome>& domes,
                  const std::vector<std::pair<int, int>>& leaves);
