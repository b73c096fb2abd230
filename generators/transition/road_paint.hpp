#pragma once
#include "canvas/raster_image.hpp"
#include "generators/common/channel_shape.hpp"
#include "generators/common/even_texture.hpp"
#include "generators/common/periodic_noise.hpp"
#include "generators/common/road_track.hpp"
#include "generators/transition/over_matte.hpp"
#include "generators/transition/transition_terrain.hpp"

#include <cstdint>
#include <vector>

// A road's track through a tile, as worn ground of one terrain: where it
// lies (the course a river's channel takes, generators/common/channel_shape.hpp,
// straight across or bending about a corner, a junction's stem meeting the
// through road in the middle, an end stopping round there) and how it
// shows: the terrain's texels darkened along two ruts, its edges ragged and
// soft so it blends into whatever ground lies below. Its width, ruts and
// edge wear on an edge it crosses depend on the place alone, read from
// noise that repeats every tile, so neighbouring pieces join whatever else
// each does; it keeps off the edges it does not cross.
class RoadPaint {
public:
    RoadPaint(const RasterImage& ground_sheet, const TransitionTerrain& surface, const RoadTrack& track,
              std::uint64_t set_seed, int variant, int half_width);

    // Half the track's width where it crosses an edge, in tile units.
    static double half_width();

    // How much of the place (u, v) of the tile's square the track covers
    // (0..1), and how much it darkens the terrain there (1: not at all).
    double coverage(double u, double v) const;
    double shade(double u, double v) const;
    // Grid point (i, j): the track's colour and coverage (alpha 0 off it).
    OverPixel at(int i, int j) const;

private:
    // Tile units inside the track's worn edge, and how far from its middle line.
    void place(double u, double v, double& depth, double& from_middle) const;

    std::vector<ChannelShape> courses_;
    int edges_ = 0;
    EvenTexture surface_;
    std::uint64_t set_seed_;
    int variant_, h_;
    PeriodicNoise ragged_, grain_, mottle_;
};
