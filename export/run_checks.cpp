// The checks across a run's options once each has its value (declared with
// the options in run_options.hpp).
#include "export/tile/cell_bounds.hpp"
#include "export/control_options.hpp"
#include "export/formats/markup_text.hpp"
#include "export/run_options.hpp"

#include "export/render_settings.hpp"
#include "export/formats/sheet_layout.hpp"
#include "export/tile/tile_frames.hpp"
#include "export/tile/slope_tiles.hpp"
#include "export/tile/transition_tiles.hpp"
#include "generators/world/world_chunks.hpp"
#include "generators/world/world_layout.hpp"

#include <algorithm>

namespace {
using Id = RunOptionId;

bool named(const std::set<std::string>& given, Id id) { return given.count(run_option(id).name) != 0; }
bool named(const std::set<std::string>& given, const RunOption& option) { return given.count(option.name) != 0; }

bool ends_with(const std::string& text, const char* tail) {
    const std::string t(tail);
    return text.size() >= t.size() && text.compare(text.size() - t.size(), t.size(), t) == 0;
}

// The sheet's name says its format.
Problem check_sheet_name(RenderSettings& s, const std::set<std::string>& given) {
    if (s.sheet.empty()) return std::nullopt;
    const bool bmp = s.sheet.size() > 4 && ends_with(s.sheet, ".bmp");
    const bool png = s.sheet.size() > 4 && ends_with(s.sheet, ".png");
    if (!bmp && !png) return dashed(Id::sheet) + ": " + in_quotes(s.sheet) + " names neither a .png nor a .bmp file";
    if (!named(given, Id::format)) s.png = png;
    return std::nullopt;
}

Problem check_rules(const RenderSettings& s, const std::set<std::string>& given) {
    for (const RunOption& option : run_options())
        for (const OptionRule& rule : option.excludes)
            if (named(given, option) && named(given, rule.other)) return std::string(rule.why);
    for (const RunOption& option : run_options())
        for (const OptionRule& rule : option.needs)
            if (named(given, option) && !named(given, rule.other)) return std::string(rule.why);
    if (named(given, Id::format) && !s.sheet.empty() && ends_with(s.sheet, s.png ? ".bmp" : ".png"))
        return dashed(Id::format) + " " + (s.png ? "png" : "bmp") + " does not match " + dashed(Id::sheet) + " " +
               in_quotes(s.sheet) + ": the sheet's name says its format";
    if (s.tile_stream && s.count != 1)
        return dashed(Id::tile_seed) + " draws one tile: " + dashed(Id::count) + " must be 1";
    return std::nullopt;
}

// Only water moves, and only Godot 4 declares tile animations.
Problem check_moving_water(const RenderSettings& s) {
    if (s.loop_frames <= 1)
        return s.flow
                   ? std::optional(dashed(Id::flow) + " drifts moving water: give " + dashed(Id::frames) + " 2 or more")
                   : std::nullopt;
    if (!s.godot3.empty())
        return dashed(Id::godot3) + ": a Godot 3 TileSet cannot declare tile animations; use " + dashed(Id::godot) +
               " for Godot 4";
    const TileKindRow& kind = kind_row(s.kind);
    if (kind.moves(run_controls(s), {transition_tile_spec(s, 0), slope_tile_spec(s, 0)})) return std::nullopt;
    const std::string why = *kind.still_why ? kind.still_why
                                            : "use " + dashed(Id::kind) +
                                                  " water, terrain with --pool or --swamp, or a transition with a "
                                                  "water terrain";
    return dashed(s.flow ? Id::flow : Id::frames) + ": only water moves: " + why;
}

// A control of another kind's tab would be ignored: say so.
Problem check_steering(const RenderSettings& s, const std::set<std::string>& given) {
    const TileKindRow& kind = kind_row(s.kind);
    for (const ControlOption& option : control_options())
        if (given.count(option.name) && !steered_by(kind, option.tab))
            return "--" + option.name + " steers " + kind_of_tab(option.tab)->name + " tiles; " + dashed(Id::kind) +
                   " " + kind.name + " does not use it";
    return std::nullopt;
}

Problem check_width(const RenderSettings& s) {
    const WidthRule rule = kind_row(s.kind).width_rule(run_controls(s));
    if (rule.steps_of_ten && s.iso_width % 10 != 0)
        return dashed(Id::iso_width) + " " + std::to_string(s.iso_width) + " needs " + rule.why;
    return std::nullopt;
}

// A set of corner combinations is sixteen tiles a variant, of two named
// terrains; a fill set one tile a variant, of one.
Problem check_corner_set(RenderSettings& s) {
    const bool slope = s.kind == TileKind::slope;
    const bool chosen = slope ? s.terrain_count > 0 : s.fill_set || !(s.terrain_a == s.terrain_b);
    if (!kind_row(s.kind).corner_set) {
        if (chosen || s.variants != 1)
            return dashed(Id::terrains) + " and " + dashed(Id::variants) + " need " + dashed(Id::kind) +
                   " transition or slope";
        if (s.set_tile) return dashed(Id::set_tile) + " needs " + dashed(Id::kind) + " transition or slope";
        return std::nullopt;
    }
    if (!chosen && slope)
        return dashed(Id::kind) + " slope needs " + dashed(Id::terrains) + " G, such as " + dashed(Id::terrains) +
               " ground:3 (with " + dashed(Id::cliff) + ", G,R such as ground:3,rock:1)";
    if (!chosen)
        return dashed(Id::kind) + " transition needs " + dashed(Id::terrains) + " A,B or A alone, such as " +
               dashed(Id::terrains) + " ground:3,water:0";
    const int count = set_masks(s) * s.variants;
    if (s.set_tile) {
        if (*s.set_tile >= count)
            return dashed(Id::set_tile) + " " + std::to_string(*s.set_tile) + ": a set of " +
                   std::to_string(s.variants) + " variant(s) has tiles 0 to " + std::to_string(count - 1);
        if (s.count != 1) return dashed(Id::set_tile) + " draws one tile: " + dashed(Id::count) + " must be 1";
        return std::nullopt;
    }
    if (s.count != 1 && s.count != count)
        return dashed(Id::count) + ": a " + kind_row(s.kind).name + " set of " + std::to_string(s.variants) +
               " variant(s) has " + std::to_string(count) + " tiles; set " + dashed(Id::variants) + " instead";
    s.count = count;
    return std::nullopt;
}

// Over tiles lay B over a terrain below, as RGBA: a fill set has nothing
// to lay over, and BMP no alpha.
Problem check_over(RenderSettings& s) {
    if (!s.over) return std::nullopt;
    if (s.kind != TileKind::transition && s.kind != TileKind::slope)
        return dashed(Id::over) + " needs " + dashed(Id::kind) +
               " transition or slope: it lays one terrain over another";
    if (s.kind == TileKind::slope && s.terrain_count == 1)
        return dashed(Id::over) + " needs two grounds: " + dashed(Id::terrains) +
               " A,B, such as ground:4,ground:0 (B laid over A on the slope)";
    if (s.fill_set)
        return dashed(Id::over) + " needs two terrains A,B: a fill set of " + terrain_name(s.terrain_a) +
               " has no other side to leave transparent";
    if (!s.png)
        return dashed(Id::over) +
               ": an over tile is transparent on A's side and partly so along its edges, which BMP cannot hold: "
               "write PNG";
    s.transparent = true;
    return std::nullopt;
}

// A channel runs through a set's tiles: a transition set's water through
// its land, or down a slope or cliff set.
Problem check_channel(const RenderSettings& s) {
    if (s.channel_water && !s.channel.any())
        return dashed(Id::terrains) + " names a channel's water last (" + terrain_name(*s.channel_water) + "): add " +
               dashed(Id::channel) + ", or leave it out";
    if (!s.channel.any()) return std::nullopt;
    if (s.kind == TileKind::slope) return std::nullopt;
    if (s.kind != TileKind::transition)
        return dashed(Id::channel) + " needs " + dashed(Id::kind) + " transition or slope: it runs through a set's tiles";
    if (s.fill_set || s.terrain_a.kind != TerrainKind::water || s.terrain_b.kind == TerrainKind::water)
        return dashed(Id::channel) + " runs the water of terrain A through the land of B: give " + dashed(Id::terrains) +
               " WATER,LAND such as water:0,ground:10";
    return std::nullopt;
}

// A road runs through a transition or slope set's tiles, on the ground: a
// cliff's face has no way up, and a river's channel its own tile.
Problem check_road(const RenderSettings& s) {
    if (!s.road.any()) return std::nullopt;
    if (s.kind != TileKind::transition && s.kind != TileKind::slope)
        return dashed(Id::road) + " needs " + dashed(Id::kind) + " transition or slope: it runs through a set's tiles";
    if (s.cliff)
        return dashed(Id::road) + " cannot climb a cliff: a road runs over slopes, leave out " + dashed(Id::cliff);
    if (s.channel.any())
        return dashed(Id::road) + " and " + dashed(Id::channel) +
               " are tiles of their own: draw the river's channel, then the road or bridge over it";
    if (s.road.bridge && s.kind != TileKind::transition)
        return dashed(Id::road) + ": a bridge lies flat over water: give " + dashed(Id::kind) + " transition";
    const TransitionTerrain surface = s.kind == TileKind::slope && !s.over ? s.terrain_a : s.terrain_b;
    if (!s.road.bridge && surface.kind == TerrainKind::water)
        return dashed(Id::road) + " lays its track of terrain B's ground: give " + dashed(Id::terrains) +
               " A,B with B ground or rock, such as ground:10,ground:4";
    return std::nullopt;
}

// A slope set's step and cliff: only for slopes, the step even and no
// taller than half the diamond, a cliff of ground and rock.
Problem check_slope(const RenderSettings& s, const std::set<std::string>& given) {
    const bool slope = s.kind == TileKind::slope;
    for (const Id id : {Id::step, Id::cliff})
        if (named(given, id) && !slope) return dashed(id) + " needs " + dashed(Id::kind) + " slope";
    if (!slope) return std::nullopt;
    if (named(given, Id::step)) {
        const std::string step = dashed(Id::step) + " " + std::to_string(s.slope_step);
        if (s.slope_step % 2 != 0)
            return step + ": the step must be even, so that a slope's middle lies on whole pixels";
        if (s.slope_step > largest_slope_step(s.iso_width))
            return step + ": at width " + std::to_string(s.iso_width) + " a step rises at most " +
                   std::to_string(largest_slope_step(s.iso_width)) +
                   " pixels (half the diamond's height), or a slope would face away from the viewer";
    }
    if (s.cliff && s.terrain_count == 1)
        return dashed(Id::cliff) + " needs two terrains: " + dashed(Id::terrains) +
               " GROUND,ROCK, such as ground:3,rock:1 (the ground, then the rock of the cliff's face)";
    if (!s.cliff && !s.over && s.terrain_count == 2)
        return dashed(Id::terrains) + " " + terrain_name(s.terrain_a) + "," + terrain_name(s.terrain_b) +
               " names a cliff's rock: add " + dashed(Id::cliff) + ", or name one ground for a slope set";
    return std::nullopt;
}

// Every cell holds the tallest and widest tile the kind can paint at that
// width: a sheet that would not fit is refused before anything is drawn,
// with the number of tiles that would.
Problem check_sheet_size(const RenderSettings& s) {
    const CellBound cell = largest_cell(s);
    const int frames = std::max(1, s.loop_frames);  // moving water: a cell a frame, whole tiles a row
    const auto fits = [&](int count) {
        const SheetLayout layout = sheet_for_cells(
            cell, count * frames, frames > 1 ? frame_sheet_columns(s.columns, count, frames) : s.columns, s.spacing,
            s.margin);
        return layout.width <= largest_sheet_side && layout.height <= largest_sheet_side &&
               static_cast<long long>(layout.width) * layout.height <= largest_sheet_pixels;
    };
    if (fits(s.count)) return std::nullopt;
    int low = 0, high = s.count;  // fits(low), !fits(high)
    while (high - low > 1) (fits((low + high) / 2) ? low : high) = (low + high) / 2;
    return dashed(Id::sheet) + ": " + std::to_string(s.count) + " tiles of kind " + kind_row(s.kind).name +
           " at width " + std::to_string(s.iso_width) + " may need cells of " + std::to_string(cell.width()) + " x " +
           std::to_string(cell.height()) + " and would not fit on one sheet (at most " +
           std::to_string(largest_sheet_side) + " pixels a side, " + std::to_string(largest_sheet_pixels) +
           " in all); " +
           (low > 0 ? "at most " + std::to_string(low) + " fit with these " + dashed(Id::columns) + ", " +
                          dashed(Id::spacing) + " and " + dashed(Id::margin)
                    : "none fit with this " + dashed(Id::spacing) + " and " + dashed(Id::margin)) +
           ", or write one file a tile with " + dashed(Id::out);
}

Problem check_sheet(const RenderSettings& s) {
    if (s.sheet.empty()) return std::nullopt;
    // XML has no way to write most control characters, not even escaped.
    for (const auto& [id, file] : std::initializer_list<std::pair<Id, const std::string*>>{
             {Id::sheet, &s.sheet}, {Id::tmx, &s.tmx}, {Id::godot, &s.godot}, {Id::godot3, &s.godot3}})
        if (!markup_can_name(*file))
            return dashed(id) + ": " + in_quotes(*file) +
                   " holds control characters, which the Tiled and Godot files cannot name";
    const std::optional<Id> godot = !s.godot.empty() ? Id::godot : !s.godot3.empty() ? Id::godot3 : std::optional<Id>();
    if (!s.png && godot)
        return dashed(*godot) +
               ": Godot has no colour key and would draw a BMP sheet's black as black: name a .png sheet";
    return check_sheet_size(s);
}

Problem check_outputs(const RenderSettings& s) {
    if (s.transparent && !s.png) return dashed(Id::transparent) + " needs PNG output";
    if (s.wants_surfaces() && s.loop_frames > 1 && s.sheet.empty())
        return dashed(Id::normals) + ", " + dashed(Id::heights) + ", " + dashed(Id::lit) + " and " +
               dashed(Id::albedo) + " with " + dashed(Id::frames) + " need " + dashed(Id::sheet) +
               ": the maps are laid out as the sheet's cells";
    return std::nullopt;
}

// The cells of a chunk at most. world.png is streamed, so what grows with a
// world is its model, layers and objects: about half a kilobyte a cell.
long long largest_chunk_cells(const RenderSettings& s, int count) {
    const int columns = world_chunk_columns(s.world_shape.width, s.world_shape.height, count);
    if (columns == 0) return 0;
    const long long rows = count / columns;
    return ((s.world_shape.width + columns - 1) / columns) * ((s.world_shape.height + rows - 1) / rows);
}

// A world one process cannot hold is refused before anything is drawn,
// saying into how many chunks to split it.
Problem check_world_size(const RenderSettings& s) {
    if (largest_chunk_cells(s, s.shards) <= largest_world_cells) return std::nullopt;
    int fits = 0;
    for (int n = s.shards + 1; n <= s.world_shape.width * s.world_shape.height && fits == 0; ++n)
        if (const long long cells = largest_chunk_cells(s, n); cells > 0 && cells <= largest_world_cells) fits = n;
    const std::string world = std::to_string(s.world_shape.width) + " x " + std::to_string(s.world_shape.height) +
                              " world";
    const std::string what = s.shards > 1 ? "each of its " + std::to_string(s.shards) + " chunks" : "its map";
    const std::string limit = "more than the " + std::to_string(largest_world_cells) + " cells one process holds";
    if (fits == 0) return "a " + world + " is too large: " + what + " would be " + limit;
    // Offered for a square world: the fewest chunks of a square grid.
    int offered = fits;
    for (int side = 1; s.world_shape.width == s.world_shape.height && side <= s.world_shape.width; ++side)
        if (side * side >= fits && largest_chunk_cells(s, side * side) > 0 &&
            largest_chunk_cells(s, side * side) <= largest_world_cells &&
            world_chunk_columns(s.world_shape.width, s.world_shape.height, side * side) == side) {
            offered = side * side;
            break;
        }
    const int columns = world_chunk_columns(s.world_shape.width, s.world_shape.height, offered);
    return "a " + world + " is too large to draw " +
           (s.shards > 1 ? "in " + std::to_string(s.shards) + " chunks" : "whole") + " (" + what + " would hold " +
           limit + "): draw it in " + std::to_string(fits) + " chunks or more, such as " + dashed(Id::shard) + " K/" +
           std::to_string(offered) + " (a grid of " + std::to_string(columns) + " x " +
           std::to_string(offered / columns) + ") for K from 0 to " + std::to_string(offered - 1) +
           ", then brannoc-render merge the folder";
}

// A world takes only the options that shape a world; a tile run none of them.
Problem check_world(const RenderSettings& s, const std::set<std::string>& given) {
    if (!s.world) {
        for (const RunOption& option : run_options())
            if (shapes_world(option) && named(given, option))
                return "--" + std::string(option.name) + " shapes a world: write brannoc-render world --" +
                       option.name + " ...";
        return std::nullopt;
    }
    for (const std::string& name : given) {
        const RunOption* option = find_run_option(name);
        if (option && applies_to_world(*option)) continue;
        std::string taken;
        for (const RunOption& o : run_options())
            if (applies_to_world(o)) taken += std::string(taken.empty() ? "" : ", ") + "--" + o.name;
        return "--" + name + " does not apply to a world (it takes " + taken + ")";
    }
    if (s.loop_frames <= 1 && s.flow)
        return dashed(Id::flow) + " drifts moving water: give " + dashed(Id::frames) + " 2 or more";
    if (world_chunk_columns(s.world_shape.width, s.world_shape.height, s.shards) == 0)
        return dashed(Id::shard) + ": no grid of " + std::to_string(s.shards) + " chunks fits the world's " +
               std::to_string(s.world_shape.width) + " x " + std::to_string(s.world_shape.height) +
               " cells (each chunk needs a cell at least): split it into fewer";
    if (Problem p = check_world_size(s)) return p;
    return check_rules(s, given);
}
}  // namespace

Problem check_run(RenderSettings& s, const std::set<std::string>& given) {
    if (Problem p = check_world(s, given)) return p;
    if (s.world) return std::nullopt;
    if (Problem p = check_sheet_name(s, given)) return p;
    if (Problem p = check_rules(s, given)) return p;
    if (Problem p = check_steering(s, given)) return p;
    if (Problem p = check_moving_water(s)) return p;
    if (Problem p = check_width(s)) return p;
    if (Problem p = check_slope(s, given)) return p;
    if (Problem p = check_corner_set(s)) return p;
    if (Problem p = check_over(s)) return p;
    if (Problem p = check_channel(s)) return p;
    if (Problem p = check_road(s)) return p;
    if (Problem p = check_sheet(s)) return p;
    return check_outputs(s);
}

Problem check_tile_request(const TileRequest& tile) {
    RenderSettings s;
    static_cast<TileRequest&>(s) = tile;
    // The maps are files beside the image, which a tile's record leaves out.
    static_cast<Lighting&>(s) = Lighting();
    const nlohmann::json block = settings_block(s);
    std::set<std::string> given;
    for (auto at = block.begin(); at != block.end(); ++at) given.insert(at.key());
    return check_run(s, given);
}
