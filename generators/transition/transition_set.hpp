#pragma once
#include "state/tile_context.hpp"
#include "canvas/raster_image.hpp"
#include "generators/common/river_channel.hpp"
#include "generators/common/road_track.hpp"
#include "generators/transition/over_matte.hpp"
#include "generators/transition/transition_bands.hpp"
#include "generators/transition/transition_terrain.hpp"

#include <cstdint>
#include <vector>

// Transition tiles: the sixteen ways two terrains can meet at the four
// corners of a diamond, drawn so that any two tiles whose shared corners
// match continue each other's boundary and textures across the edge.

// Corner bits of a tile's mask: a set bit means the corner is terrain B.
enum CornerBit : int { corner_top = 1, corner_right = 2, corner_bottom = 4, corner_left = 8 };
inline constexpr int corner_masks = 16;
// 0 (terrain A) or 1 (terrain B) at the corners top, right, bottom, left.
constexpr int corner_terrain(int mask, int corner_bit) { return (mask & corner_bit) != 0 ? 1 : 0; }

// One tile of a set. Every tile of a set shares `set_seed`, which fixes the
// boundary's wander along the edges; `variant` 0 is the plain tile, other
// variants change only the inside.
struct TransitionTileSpec {
    TransitionTerrain a, b;
    int mask = 0;
    int variant = 0;
    std::uint64_t set_seed = 1;
    // An over tile paints B's side and the bands along the boundary alone,
    // laid over the background as coverage (see over_matte.hpp): drawn over
    // A, or any terrain a world puts below, it shows the two-terrain tile.
    bool over = false;
    // A river's channel of A's water through B's land (A is water): the
    // tile with the channel cut into its land. Over, only the channel and
    // its banks, laid over whatever land lies below, up to the shore the
    // set's own tile draws (see channel_tile.hpp).
    RiverChannel channel;
    // A road's track of B's ground, worn into the set's tile; over, the
    // track alone whatever the mask, laid over any ground below. A bridge's
    // planks instead over the cell's water (see road_tile.hpp).
    RoadTrack road;
};

// Clears the canvas (outlining the diamond when "Draw tile area" is ticked),
// paints the tile at the context's iso width and shows it. An over tile
// leaves A's side as the background and lays its edges over it; a canvas
// cleared to black and one cleared to white give its coverage. Draws nothing
// from the random source: every pixel follows from its terrains, corners,
// variant and set seed.
void draw_transition_tile(TileContext& context, const TransitionTileSpec& spec);

// What each grid point (i, j) of the tile shows, row by row (j outer): its
// terrain or the band it lies in. The painting follows these labels.
std::vector<BandLabel> transition_band_labels(const RasterImage& ground_sheet, const TransitionTileSpec& spec,
                                              int half_width);

// Each grid point's signed distance from the tile's boundary in grid steps,
// positive on B's side, row by row (j outer), as the painting measures it.
std::vector<float> transition_distances(const TransitionTileSpec& spec, int half_width);

// What each grid point (i, j) of the still tile paints, row by row (j
// outer): its colour, and for an over tile its coverage (opaque otherwise).
// A raised tile lays these on its surface, so that it shows the flat tile's
// ground and boundary.
std::vector<OverPixel> transition_points(const RasterImage& ground_sheet, const TransitionTileSpec& spec,
                                         int half_width);
