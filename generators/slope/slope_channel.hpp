#pragma once
#include "canvas/colour.hpp"
#include "canvas/raster_image.hpp"
#include "generators/common/channel_shape.hpp"
#include "generators/common/grid_point.hpp"
#include "generators/common/periodic_noise.hpp"
#include "generators/slope/slope_set.hpp"
#include "state/draw_request.hpp"

#include <optional>

// A river down a slope or over a cliff (spec.channel): the ground's grid
// points in the channel show its water and those along it a wet bank, as
// on flat ground, so the channel joins the flat tiles above and below it.
// Down a slope the water rushes, streaked with foam that runs with it (none
// near the edges, where it meets the calm water of its neighbours); over a
// cliff's face it falls, white where it lands.
class SlopeChannel {
public:
    SlopeChannel(const RasterImage& ground_sheet, const WaterPhase& phase, const SlopeTileSpec& spec, int half_width);
    bool any() const { return shape_.has_value(); }

    // What grid point p shows over the ground's colour there (already
    // lit), `light` the ground's light: the ground itself, its wet bank or
    // the water.
    Colour ground(GridPoint p, Colour ground, double light) const;
    bool in_water(GridPoint p) const;
    // A fall's pixel on a cliff face k rows (1 .. step) below the edge, in
    // canvas column x, where the face stands in front of grid point p;
    // nullopt where the water does not fall there.
    std::optional<Colour> fall(int x, int k, int step, GridPoint p) const;
    // The foam where a fall lands, `rows` below the face's foot.
    Colour landing(GridPoint p, Colour water, int rows) const;

private:
    double depth(GridPoint p, ChannelShape::Place& place) const;  // grid steps into the water
    Colour water(GridPoint p, const ChannelShape::Place& place) const;

    const RasterImage& sheet_;
    WaterPhase phase_;
    const SlopeTileSpec& spec_;
    int h_;
    std::optional<ChannelShape> shape_;
    SheetPoint water_cell_;
    PeriodicNoise foam_;
    double keep_off_ = 0;
};
