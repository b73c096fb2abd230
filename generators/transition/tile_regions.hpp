#pragma once
#include "generators/transition/corner_field.hpp"

#include <cstdint>
#include <vector>

// Which terrain shows at each grid point of a tile, and how far the point
// lies from the boundary, after the accidents of the noise are cleared: a
// region that reaches no tile edge belongs to no corner, so it is given to
// the terrain around it, and the boundary is smoothed so that it has no
// one-point teeth. Points closer to an edge than `keep_band` keep the
// field's own answer, which the neighbour across the edge shares.
//
// Distances are measured on the grid (in grid steps, positive on B's side)
// and reach `reach` steps; beyond the tile's edges the field is continued
// without its variant noise, so a band that crosses an edge lies where the
// neighbour draws it.
//
// A variant's regions hand over from the set's: within `keep_band` of an
// edge a point keeps the shared field's distance, so its bands lie where
// every variant draws them, and over `blend` steps beyond, its distance
// passes to the variant's own. The boundary a point sees there runs between
// the two courses, so the variant's coast may leave the shared one a few
// steps from the edge instead of beyond the reach of every edge point's bands.

// Clears the regions (4-connected) of an h x h mask that span fewer than
// `extent` steps and reach no edge: the specks a threshold leaves.
void clear_small_regions(std::vector<std::uint8_t>& mask, int h, int extent);

class TileRegions {
public:
    TileRegions(const CornerField& field, int half_width, int keep_band, int reach);
    TileRegions(const CornerField& shared, const CornerField& own, int half_width, int keep_band, int reach,
                double blend);
    int side(int i, int j) const { return side_[index(i + margin_, j + margin_)]; }
    double distance(int i, int j) const { return distance_[static_cast<std::size_t>(j) * h_ + i]; }

private:
    TileRegions(int half_width, int reach);  // unlabelled
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * span_ + x; }
    void smooth(int keep_band);
    void clear_islands(int keep_band);
    void clear_blend_islands(const std::vector<float>& weight);
    void label(const CornerField& field, int keep_band);
    // Distances of the points closer to an edge than `within` steps (all of them by default).
    void measure(int within);

    int h_, margin_, span_, reach_;
    std::vector<std::uint8_t> side_;  // (h + 2 margin)^2, from (-margin, -margin)
    std::vector<float> distance_;     // h^2
};
