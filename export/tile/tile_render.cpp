#include "export/tile/tile_render.hpp"

#include "canvas/mix_hash.hpp"
#include "commands/commands.hpp"
#include "export/control_options.hpp"
#include "export/tile/render_canvas.hpp"
#include "export/tile/tile_coverage.hpp"
#include "export/run_options.hpp"
#include "export/tile/slope_tiles.hpp"
#include "export/tile/transition_tiles.hpp"
#include "state/control_ids.hpp"
#include "state/control_table.hpp"
#include "choosers/texture_chooser.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace {
constexpr Colour probe_background = rgb(255, 255, 255);

// A pick made exactly as a user makes it in the chooser: click the cells,
// then "Ok", which stores the pick and ticks the lock.
void pick_textures(TileContext& context, int button, const std::vector<int>& cells) {
    const ChooserButton* opened = chooser_for_button(button);
    if (!opened) return;
    TextureChooser chooser(context.state, opened->kind, opened->water_variant);
    for (const int cell : cells) chooser.click(chooser.spec().cell_x(cell) + 1, chooser.spec().cell_y(cell) + 1);
    chooser.render();
    chooser.close(context.controls);
}

void start_tile(Application& app, const TileRequest& settings, int index) {
    AppState& state = app.state();
    reset_drawing_state(state);
    ControlModel& controls = app.controls();
    for (const ControlSpec& spec : control_table())
        if (spec.number > 0) controls.write(spec.number, spec.default_state);
    for (const auto& [control, value] : settings.controls) controls.write(control, value);
    if (const int tab = kind_row(settings.kind).tab; tab >= 0) controls.write(ctl::panel, tab);
    if (settings.iso_width % 10 == 0) controls.write(ctl::iso_width, (settings.iso_width - 40) / 10);
    TileContext context = app.context();
    for (const auto& [button, cells] : settings.textures) pick_textures(context, button, cells);
    app.random().seed(stream_of(settings, index));
}

// A width in the combo box's steps of ten is set there, as a user sets it;
// one between them travels with the draw.
DrawRequest request_for(const TileRequest& settings) {
    DrawRequest request;
    if (settings.iso_width % 10 != 0) request.iso_width = settings.iso_width;
    request.water_phase.flow = settings.flow;
    return request;
}

void draw(Application& app, const TileRequest& settings, int index, const DrawRequest& request,
          const TilePainter& paint) {
    start_tile(app, settings, index);
    TileContext context = app.context(request);
    if (paint) return paint(context);
    draw_kind(context, kind_row(settings.kind),
              {transition_tile_spec(settings, index), slope_tile_spec(settings, index)});
}

// A tile of a corner set is one of its set: the set's settings, and which
// of its tiles this is, draw it again alone.
nlohmann::json set_settings(const TileRequest& settings, int index, int iso_width) {
    nlohmann::json drawn = drawn_block(settings, drawn_set);
    drawn[run_option(RunOptionId::seed).name] = settings.seed;
    drawn[run_option(RunOptionId::set_tile).name] = set_index(settings, index);
    drawn[run_option(RunOptionId::iso_width).name] = iso_width;
    return drawn;
}

// The same tile again at each later phase of the loop, from the same start
// and stream: only the water's texels differ, so frame 0's box and coverage
// hold for every frame.
void draw_later_frames(Application& app, const TileRequest& settings, int index, RenderedTile& tile, int frames,
                       const TilePainter& paint) {
    DrawRequest request = request_for(settings);
    for (int f = 1; f < frames; ++f) {
        request.water_phase.frame = f;
        request.water_phase.frames = frames;
        draw(app, settings, index, request, paint);
        const TileCanvas& canvas = app.state().canvas;
        tile.later_frames.push_back(grab_image(canvas, tile.left + canvas.origin_x(), tile.top + canvas.origin_y(),
                                               tile.image.width(), tile.image.height()));
        if (settings.over) colour_under_coverage(tile.later_frames.back(), tile.alpha);
    }
}

// The settings the tile was drawn with, by option name, as a settings file
// takes them: the run's own, the tile's stream, and the controls of the
// tabs that steer its kind as the draw left them (a lock keeps its value;
// an unlocked one is drawn again from the same stream to the same value).
nlohmann::json drawn_settings(Application& app, const TileRequest& settings, std::uint64_t stream) {
    nlohmann::json drawn = drawn_block(settings, drawn_tile);
    drawn[run_option(RunOptionId::tile_seed).name] = stream;
    const TileKindRow& kind = kind_row(settings.kind);
    const ControlModel& controls = app.controls();
    for (const ControlOption& option : control_options())
        if (steered_by(kind, option.tab) && (option.kind == OptionKind::flag || option.kind == OptionKind::choice))
            drawn[option.name] = control_value(option, controls.read(option.control));
    for (const auto& [button, picks] : settings.textures)
        for (const ControlOption& option : control_options())
            if (option.control == button && steered_by(kind, option.tab))
                drawn[option.name] = texture_value(option, picks);
    // The width it was drawn at, over the "Iso width:" combo's item.
    drawn[run_option(RunOptionId::iso_width).name] = app.state().geometry.iso_width;
    return drawn;
}

nlohmann::json shown_textures(const AppState& s) {
    return {{"wall", s.wall_texture},
            {"roof", s.roof_texture},
            {"door", s.door_texture},
            {"windows", s.windows_texture},
            {"ground", s.ground_texture},
            {"mountain", s.mountain_texture},
            {"terrain-water", s.terrain_water_texture},
            {"water-1", s.water_texture_1},
            {"water-2", s.water_texture_2},
            {"grass-colour", {red(s.grass_colour), green(s.grass_colour), blue(s.grass_colour)}}};
}
}  // namespace

std::uint64_t tile_seed(std::uint64_t run_seed, int index) {
    return mix_hash(mix_hash(run_seed) ^ static_cast<std::uint64_t>(index));
}

std::uint64_t stream_of(const TileRequest& settings, int index) {
    return settings.tile_stream ? *settings.tile_stream : tile_seed(settings.seed, index);
}

void draw_seeded_tile(Application& app, const TileRequest& settings, int index, Colour background) {
    DrawRequest request = request_for(settings);
    request.background = background;
    draw(app, settings, index, request, {});
}

RenderedTile render_tile(Application& app, const TileRequest& settings, int index, const TilePainter& paint) {
    RenderedTile tile;
    const int frames = std::max(1, settings.loop_frames);
    DrawRequest request = request_for(settings);
    request.water_phase.frames = frames;
    tile.seed = stream_of(settings, index);
    const bool need_coverage = settings.transparent || settings.trim || settings.over;
    // The window's square inside a canvas that holds all the tile paints.
    const RenderCanvas room = render_canvas(settings);
    TileCanvas& work = app.state().canvas;
    if (work.width() != room.width || work.height() != room.height || work.origin_x() != room.origin_x ||
        work.origin_y() != room.origin_y)
        work = TileCanvas(room.width, room.height, room.origin_x, room.origin_y);
    RasterImage probe;
    if (settings.over) {
        request.background = probe_background;
        draw(app, settings, index, request, paint);
        probe = app.state().canvas;
        request.background = rgb(0, 0, 0);
    }
    // Scratch memory kept from tile to tile by each drawing thread, as the
    // surfaces are: every draw starts by erasing all of it.
    thread_local PaintedMask painted;
    if (need_coverage && !settings.over) {
        if (painted.width() != room.width || painted.height() != room.height)
            painted = PaintedMask(room.width, room.height);
        request.painted = &painted;
    }
    // The surfaces ride along with the final draw only. The map is scratch
    // memory kept from tile to tile by each drawing thread: only the columns
    // a tile marked are cleared for the next.
    thread_local SurfaceIds surfaces;
    if (settings.wants_surfaces()) {
        const TileCanvas& target = app.state().canvas;
        const bool fits = surfaces.width() == target.width() && surfaces.height() == target.height() &&
                          surfaces.origin_x() == target.origin_x() && surfaces.origin_y() == target.origin_y();
        if (!fits) surfaces = SurfaceIds(target.width(), target.height(), target.origin_x(), target.origin_y());
        surfaces.keep_light(settings.albedo);
        request.surfaces = &surfaces;
    }
    draw(app, settings, index, request, paint);
    const RasterImage& canvas = app.state().canvas;
    if (paint) {
        // Nothing but the painter draws it again.
    } else if (kind_row(settings.kind).corner_set) {
        tile.drawn = set_settings(settings, index, app.state().geometry.iso_width);
        tile.textures = {{"a", terrain_name(settings.terrain_a)}};
        if (!settings.fill_set) tile.textures["b"] = terrain_name(settings.terrain_b);
        tile.corners = transition_mask(settings, set_index(settings, index));
        tile.seed = settings.seed;  // the set's seed draws it, with its index; the stream is unused
    } else {
        tile.drawn = drawn_settings(app, settings, tile.seed);
        tile.textures = shown_textures(app.state());
    }

    int left = 0, top = 0, right = canvas.width() - 1, bottom = canvas.height() - 1;
    std::vector<std::uint8_t> over_coverage;
    const std::uint8_t* covered = nullptr;  // canvas.width() a row
    if (settings.over) over_coverage = coverage_between(canvas, probe), covered = over_coverage.data();
    else if (need_coverage) covered = painted.row(0);
    if (settings.trim) {
        const CoveredBox box = covered_box(covered, canvas.width(), canvas.height());
        left = box.left, top = box.top, right = box.right, bottom = box.bottom;
        // A tile that paints nothing trims to one clear pixel at its anchor,
        // not to the canvas, which would make every cell of its sheet that size.
        if (right < 0)
            left = right = TileGeometry::centre_x + room.origin_x,
            top = bottom = TileGeometry::ground_y + room.origin_y;
    }
    tile.left = left - room.origin_x;  // on the window's canvas
    tile.top = top - room.origin_y;
    const int width = right - left + 1, height = bottom - top + 1;
    tile.image = grab_image(canvas, left, top, width, height);
    if (need_coverage) {
        tile.alpha.resize(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            std::copy_n(&covered[static_cast<std::size_t>(top + y) * canvas.width() + left], width,
                        &tile.alpha[static_cast<std::size_t>(y) * width]);
    }
    if (settings.over) colour_under_coverage(tile.image, tile.alpha);
    if (settings.wants_surfaces()) {
        tile.lighting_maps =
            lighting_maps_of(surfaces, left, top, width, height, settings.albedo ? &tile.image : nullptr);
    }
    tile.anchor_x = TileGeometry::centre_x - tile.left;
    tile.anchor_y = TileGeometry::ground_y - tile.top;
    draw_later_frames(app, settings, index, tile, frames, paint);
    return tile;
}
