#pragma once
#include "generators/common/periodic_noise.hpp"

#include <cstdint>

// The field that decides, point by point, which of a tile's two terrains
// shows: the four corner values (0 for A, 1 for B) blended across the tile,
// plus noise that repeats with the tile. Terrain B shows where the field is
// at least one half.
//
// The blend eases in and out of every corner (smoothstep weights), so along
// an edge it depends only on that edge's two corners and its slope across the
// edge is zero; the noise is the same in every tile of a set. A map whose
// neighbouring tiles share their corners therefore holds one continuous
// field, and its boundary crosses each edge at the same place from both
// sides. A variant adds its own noise, faded to nothing near the edges.
//
// u runs from the top corner to the right corner, v from the top corner to
// the left corner, both 0..1 across the tile: grid point (i, j) of an H x H
// tile lies at (i / H, j / H).
struct FieldSample {
    double value = 0, du = 0, dv = 0;
};

class CornerField {
public:
    CornerField(std::uint64_t set_seed, int mask, int variant);
    FieldSample at(double u, double v) const;

    // Variant noise is exactly zero closer to an edge than this (tile units);
    // the caller passes how far its edge pixels reach.
    void set_still_margin(double margin) { still_margin_ = margin; }
    // Where the variant's noise is whole, the set's own wander gives way to
    // the variant's wander of the same make: nothing that every tile of the
    // set shares is left there to repeat at the tile period.
    void set_variant_owns_middle(bool owns) { owns_middle_ = owns; }

private:
    double top_, right_, bottom_, left_;
    PeriodicNoise coarse_, fine_, variant_, own_coarse_, own_fine_;
    bool has_variant_;
    double still_margin_ = 0.05;
    bool owns_middle_ = false;
};

// The four corner values (0 or 1, corner bits as transition_set.hpp) blended
// flat on the two triangles either side of a diagonal: the one whose
// corners lie alike, the higher pair of a saddle, either when none do. Its
// lines run straight, and cut straight across a corner standing out or in
// alone, so a map's staircase of corners makes one straight line; on an
// edge it runs straight between that edge's two corners, as the neighbour
// across does.
double folded_corner_blend(int mask, double u, double v);
