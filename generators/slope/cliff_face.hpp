#pragma once
#include "canvas/colour.hpp"
#include "canvas/raster_image.hpp"
#include "generators/common/grid_point.hpp"
#include "generators/common/periodic_noise.hpp"
#include "generators/slope/slope_set.hpp"
#include "generators/transition/variant_offset.hpp"
#include "state/texture_cells.hpp"

// The rock face of a cliff: the face rock's texture laid by the face's
// place on screen and its depth below the top, crossed by strata that
// wander along it, lit by where it faces (from the right, as the slopes'
// light) and darker towards its foot.
//
// What a face shows is a function of its column on the tile lattice and its
// depth, so a face runs on from one tile into the next; inside a tile a
// variant slides the rock and its strata along, so a long cliff repeats at
// no tile period.
class CliffFace {
public:
    CliffFace(const RasterImage& sheet, const SlopeTileSpec& spec, int half_width, int step);
    // Row k (1 at the top .. step at the foot) of the face in canvas column
    // x, standing on grid point p and facing (ti, tj) along the ground axes.
    Colour colour(int x, int k, GridPoint p, float ti, float tj) const;

private:
    const RasterImage& sheet_;
    SheetPoint rock_;
    int h_, step_, column0_;
    std::uint64_t set_seed_;
    int variant_;
    VariantBlend blend_;
    PeriodicNoise strata_;
};
