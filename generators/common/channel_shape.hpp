#pragma once
#include "generators/common/river_channel.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// Where a river's channel lies in a tile, in the tile's own square: u from
// the top corner to the right corner, v from the top corner to the left,
// both 0..1 (grid point (i, j) of an H x H tile lies at (i / H, j / H)).
//
// The channel is a branch from each edge the water enters by to the edge it
// leaves by: straight across, or a quarter turn about the corner between
// two edges. Each meets its edges at their middles, square to them, at the
// edge's width, and bows between them by the variant, so no two variants
// run alike. A spring starts in the tile's middle; a channel that ends in
// the tile's water, or leaves it, runs from its edge towards the water.
class ChannelShape {
public:
    // How much of the tile the banks take, in tile units: how far the wet
    // bank reaches beyond the water, and how far the water keeps from an
    // edge it does not cross (the bank and a little more). Painters of one
    // width agree on it, so channels of one width class meet at one width.
    struct Banks {
        double reach = 0.1, keep_off = 0.15;
    };
    // `water_corners`: the corners of the tile that are water (transition
    // corner bits); 0 for a tile of land.
    ChannelShape(const RiverChannel& channel, int water_corners, int variant, Banks banks);

    struct Place {
        double depth = -1;   // tile units inside the channel's bank (below 0: outside)
        double bank = 0;     // the channel's half width there, tile units
        int branch = -1;     // the nearest branch
        double along = 0;    // 0..1 along it, from where its water comes
    };
    Place at(double u, double v) const;
    // How far the place lies from the nearest edge the channel does not
    // cross: a painter keeps the channel and its banks off those edges, so
    // that the tile beyond, which has no channel there, joins it.
    double free_distance(double u, double v) const;

    // The way the water runs at a place: a loop's drift in cells along u and
    // v (generators/common/water_flow.hpp) for each of up to two directions,
    // and how much of the second shows (0 where the first alone does). Along
    // an edge the channel crosses, the water runs straight across it.
    struct Run {
        std::array<int, 2> first{}, second{};
        double second_share = 0;
    };
    Run run(const Place& place) const;

    // Half the channel's width where it crosses an edge of width class w:
    // from a stream to as wide as the banks leave room for beside it.
    static double half_width(int width_class, Banks banks);

private:
    struct Branch {
        std::vector<std::array<double, 2>> points;  // along the centre line
        double from_half = 0, to_half = 0;          // half widths at its ends
        std::array<int, 2> enters{}, leaves{};       // drift at its ends
        bool round_start = false, round_end = false; // a spring's or a pool's rounded end
    };
    std::vector<Branch> branches_;
    int free_ = 15;  // the edges it does not cross
};

// The banks at a tile's half width: a shore's wet band at its widest, and a
// grid step and a half to spare.
ChannelShape::Banks channel_banks(int half_width);
