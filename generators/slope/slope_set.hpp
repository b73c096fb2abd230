#pragma once
#include "state/tile_context.hpp"
#include "generators/common/river_channel.hpp"
#include "generators/common/road_track.hpp"
#include "generators/transition/transition_set.hpp"

#include <cstdint>

// Slope sets: the sixteen ways the four corners of a diamond can lie low or
// one step high, numbered by the transition sets' corner bits (a set bit is
// a high corner). Two tiles whose shared corners match meet without a seam
// in their surface or their texture. Cliff sets part the high ground from
// the low along the corner field's boundary instead, with a rock face one
// step tall between them.
//
// The ground lies on the surface as the flat transition tile paints it:
// a fill of `ground`, or for an over tile `upper` on the corners of
// `ground_mask` laid over `ground` as coverage, the rest transparent. Over
// tiles stack terrains on a slope as they do on flat ground; a cliff's face
// is the bottom tile's alone.
struct SlopeTileSpec {
    TransitionTerrain ground;  // the surface, high and low (over: the terrain below)
    TransitionTerrain face;    // cliffs: the vertical face's rock
    bool cliff = false;
    int mask = 0;
    int variant = 0;
    int step = 0;  // pixels a level rises (even); 0: the width's default
    std::uint64_t set_seed = 1;
    bool over = false;
    TransitionTerrain upper;
    int ground_mask = 0;
    // A river down the slope (rapids) or over the cliff (a fall), from the
    // high edge to the low one as a world lays it, of this water (see
    // slope_channel.hpp).
    RiverChannel channel;
    TransitionTerrain water{TerrainKind::water, 0};
    // A road laid on the surface, of `upper` over or else of `ground`; over,
    // the track alone (see road_paint.hpp). No bridge: that lies flat.
    RoadTrack road;
};

// The flat tile whose ground the slope tile lays on its surface.
TransitionTileSpec slope_ground_tile(const SlopeTileSpec& spec);

// A quarter of the diamond's height, made even: 8 at width 64.
int default_slope_step(int iso_width);
// The most a step may rise: half the diamond's height, made even. A face
// rising towards the viewer is then seen at worst edge-on.
int largest_slope_step(int iso_width);
// The step the tile described by `spec` rises at a width.
int slope_step(const SlopeTileSpec& spec, int iso_width);

// The height of the surface of a slope of corner mask `mask` at (u, v) of
// its diamond (u from the top corner to the right one, v from the top to
// the left one, each 0 to 1), in steps: what the tile paints there, for
// whatever stands on it.
double slope_surface_height(int mask, double u, double v);

// Clears the canvas (outlining the diamond when "Draw tile area" is ticked),
// paints the tile at the context's iso width and shows it. Draws nothing
// from the random source.
void draw_slope_tile(TileContext& context, const SlopeTileSpec& spec);
