#include "generators/mountain/mountain_tile.hpp"

#include "state/control_ids.hpp"
#include "state/tile_setup.hpp"
#include "generators/mountain/height_field.hpp"
#include "generators/mountain/mountain_relief.hpp"

namespace {
constexpr int texture_count = 20;
}

void draw_mountain_tile(TileContext& context) {
    AppState& state = context.state;
    const ControlModel& controls = context.controls;
    const int half_width = state.geometry.half_width;
    const int peak_scale = controls.checked(ctl::reduce_to_hill) ? half_width / 3 : half_width;
    // Drawn even for a locked shape, which keeps its own heights.
    const int amplitude = random_below(context.random, peak_scale / 2) + peak_scale / 2;
    const int corner_height = -(peak_scale / 8);
    if (!controls.checked(ctl::lock_current_shape))
        build_height_field(state.height_field, amplitude, corner_height, context.random);

    ReliefSettings relief;
    relief.peak_scale = peak_scale;
    relief.highest = highest_point(state.height_field);
    relief.snow = controls.checked(ctl::snow_covered_top);
    relief.all_snow = controls.checked(ctl::all_snow);
    relief.flat_ground = !controls.checked(ctl::no_terrain);

    if (!controls.checked(ctl::mountain_lock_ground_texture))
        state.ground_texture = random_below(context.random, texture_count);
    if (!controls.checked(ctl::lock_mountain_texture))
        state.mountain_texture = random_below(context.random, texture_count);

    begin_tile(context, mountain_tile_area_colour);
    DrawingContext dc(state.canvas, context.request.surfaces, context.request.painted);
    // The next surface named is the underlay's.
    const SurfaceId underlay =
        dc.mapping_surfaces() ? static_cast<SurfaceId>(context.request.surfaces->surface_count()) : 0;
    if (relief.flat_ground) paint_mountain_underlay(context, dc);
    paint_mountain_relief(context, dc, relief);
    if (relief.flat_ground && dc.mapping_surfaces())
        close_relief_gaps(*context.request.surfaces, underlay, state.geometry);
    if (dc.mapping_surfaces()) fill_relief_pinholes(*context.request.surfaces);
    if (controls.checked(ctl::add_black_border)) paint_mountain_border(context, dc);
    show_tile(context);
}
