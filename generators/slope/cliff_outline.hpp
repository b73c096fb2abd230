#pragma once
#include "generators/common/periodic_noise.hpp"

#include <cstdint>
#include <vector>

// Where a cliff tile's high ground lies, grid point by grid point: the
// corners' levels blended flat on two triangles (folded_corner_blend), so
// that a map's staircase of corners becomes one straight cliff, with a
// gentle wander of the set's own noise and inside the tile a variant's own
// wander. A cliff's face shows
// every turn of its line, so it wanders less than a coast, and specks of
// either side that reach no edge are cleared.
//
// On an edge the blend runs straight between that edge's two corners, the set's
// noise repeats with the tile and the variant's wander is gone, so the two
// tiles sharing an edge find the same side at every point of it: that is
// what each column's ends are decided by (column_high).
//
// u runs from the top corner to the right corner, v from the top corner to
// the left corner; grid point (i, j) of an H x H tile lies at (i / H, j / H).
class CliffOutline {
public:
    CliffOutline(std::uint64_t set_seed, int mask, int variant, int half_width);
    // Grid point (i, j) of the tile, 0 <= i, j < H.
    bool high(int i, int j) const { return high_[static_cast<std::size_t>(j) * h_ + i] != 0; }
    // At (u, v) on the tile's boundary, as both tiles sharing it find it.
    bool edge_high(double u, double v) const { return value(u, v) >= 0.5; }
    // Where the ground rises towards the high side at (i, j), along u and v.
    void uphill(int i, int j, double& du, double& dv) const;

private:
    double value(double u, double v) const;
    double variant_share(double u, double v) const;
    int h_, mask_;
    bool has_variant_;
    PeriodicNoise wander_, own_;
    std::vector<std::uint8_t> high_;
};
