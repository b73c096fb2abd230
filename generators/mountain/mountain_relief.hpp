#pragma once
#include "state/tile_context.hpp"
#include "canvas/drawing_context.hpp"

// The painting passes of a mountain tile, over the height field in height_field.

inline constexpr std::int16_t no_rock_in_column = 1000;
inline constexpr Colour mountain_border_colour = rgb(5, 5, 5);

// A speckled, darkened copy of the mountain texture on the tile diamond.
void paint_mountain_underlay(TileContext& context, DrawingContext& dc);

struct ReliefSettings {
    int peak_scale = 0;       // S: the half width, or a third of it for a hill
    float highest = 0.0f;     // M: the field's highest point
    bool snow = false;        // "Snow covered top"
    bool all_snow = false;    // "All snow"
    bool flat_ground = true;  // without "No terrain": ground where the field is flat
};

// The field squashed onto the diamond and painted back to front, two short
// segments a sample reaching down to the next row's height: textured rock,
// halved where the field rises behind, snow above a ragged line, and where
// the field is flat the ground texture. Records the silhouette in
// mountain_profile.
void paint_mountain_relief(TileContext& context, DrawingContext& dc, const ReliefSettings& settings);

// The rock underlay shows through single pixels between the relief's
// segments, and under the front rows where they are lifted off the tile's
// edge. In the surface ids (the underlay painted as surface `underlay`) a
// hole takes the highest rock surface beside it, and the rest the rock's
// side standing on the nearer front edge, so the maps have no pits where
// the colour paints rock.
void close_relief_gaps(SurfaceIds& surfaces, SurfaceId underlay, const TileGeometry& geometry);

// Where a flat sample's segment reaches up among the rock, or no segment
// lands at all, the relief leaves single pixels of flat ground (surface 0)
// inside it: in the surface ids each takes the highest rock beside it, so
// the heights have no pits inside the mountain's body. The colour is left
// as it is.
void fill_relief_pinholes(SurfaceIds& surfaces);

// A near-black line along the silhouette, two pixels above the rock.
void paint_mountain_border(TileContext& context, DrawingContext& dc);
