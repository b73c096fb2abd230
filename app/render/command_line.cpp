#include "app/render/command_line.hpp"

#include "app/render/option_rules.hpp"
#include "app/render/report_line.hpp"
#include "app/render/setting_kinds.hpp"
#include "app/render/settings_file.hpp"
#include "export/cell_bounds.hpp"
#include "export/control_options.hpp"
#include "export/markup_text.hpp"
#include "export/sheet_layout.hpp"
#include "export/tile_frames.hpp"
#include "export/transition_tiles.hpp"
#include "state/control_ids.hpp"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <thread>

namespace {
using json = nlohmann::json;

constexpr int most_tiles = 1'000'000;
constexpr int most_frames = 64;
constexpr int most_variants = 64;
// More jobs than this only queue for the cores and hold memory.
int most_jobs() { return 4 * static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

const char* const description =
    "NAME\n"
    "  brannoc-render - draw isometric game tiles in bulk, without a window\n"
    "\n"
    "DESCRIPTION\n"
    "  Draws the tiles the Brannoc window draws, from the same generators: houses\n"
    "  and ruins, trees, terrain, mountains and water. Every option of a kind is a\n"
    "  control of that kind's tab, named after its label. A ticked lock keeps the\n"
    "  value it locks; an unlocked parameter is drawn at random for each tile\n"
    "  exactly as the window draws it. Tile i of a run draws from its own stream,\n"
    "  derived from --seed and i, so the same command writes the same bytes with\n"
    "  any --jobs, and tile i stays the same when --count grows. Files appear\n"
    "  whole or not at all.\n";

const char* const examples =
    "FILES\n"
    "  DIR/KIND-NNNN.png (or .bmp), one a tile, and DIR/manifest.json: for each\n"
    "  tile its file, seed, size, canvas offset, the anchor (the diamond's centre)\n"
    "  in its pixels and every setting it was drawn with. With --sheet FILE:\n"
    "  FILE, FILE.tsx (a Tiled tileset) and FILE.json (the grid, the anchor in\n"
    "  every cell and each tile's cell, seed and settings).\n"
    "\n"
    "EXAMPLES\n"
    "  1,000 seeded houses as transparent PNGs trimmed to what they paint:\n"
    "    brannoc-render --kind house --count 1000 --seed 7 --transparent --trim --out houses\n"
    "  The same run split into three shards, on any job runner, then merged:\n"
    "    parallel brannoc-render --kind house --count 1000 --seed 7 --out houses --shard {}/3 ::: 0 1 2\n"
    "    brannoc-render merge houses\n"
    "  A Tiled tileset and sample map, and a Godot TileSet, over one sheet of houses:\n"
    "    brannoc-render --kind house --count 16 --iso-width 64 --transparent --sheet houses.png \\\n"
    "      --tmx houses.tmx --godot houses.tres\n"
    "  A terrain set from a preset kept in a settings file:\n"
    "    brannoc-render --settings meadow.json --count 64 --out meadow\n"
    "  with meadow.json holding {\"kind\": \"terrain\", \"iso-width\": 64, \"grass\": true,\n"
    "  \"boulder\": true, \"grass-density\": \"25%\", \"terrain-ground-texture\": 3}.\n"
    "\n"
    "EXIT STATUS\n"
    "  0 all files written; 1 a file could not be written; 2 bad options, settings\n"
    "  or textures, or an output folder that cannot be written (nothing written).\n";

struct Failure {
    std::string message;
};

std::string in_quotes(const std::string& value) { return "\"" + shown(value) + "\""; }

bool parse_int(const std::string& text, long long& value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && !text.empty();
}

bool parse_bool(const std::string& text, bool& value) {
    if (text == "true" || text == "1" || text == "yes" || text == "on") return value = true, true;
    if (text == "false" || text == "0" || text == "no" || text == "off") return value = false, true;
    return false;
}

// "AZIMUTH,ELEVATION" in degrees: any azimuth, an elevation from 0 to 90.
std::optional<Failure> apply_light(RenderSettings& s, const std::string& value) {
    const std::size_t comma = value.find(',');
    double numbers[2] = {0, 0};
    const std::string parts[2] = {value.substr(0, comma), comma == std::string::npos ? "" : value.substr(comma + 1)};
    for (int k = 0; k < 2; ++k) {
        const char* end = parts[k].data() + parts[k].size();
        const auto [at, error] = std::from_chars(parts[k].data(), end, numbers[k]);
        if (parts[k].empty() || error != std::errc() || at != end || !std::isfinite(numbers[k]))
            return Failure{"--lit: " + in_quotes(value) + " is not AZIMUTH,ELEVATION in degrees (for instance 135,45)"};
    }
    if (numbers[1] < 0 || numbers[1] > 90) return Failure{"--lit: the elevation must be from 0 to 90 degrees"};
    s.lit = true;
    s.light_azimuth = numbers[0];
    s.light_elevation = numbers[1];
    return std::nullopt;
}

// Ranges of texture numbers by the button that picks them.
int texture_count(int button) {
    switch (button) {
        case ctl::wall_texture_button: return 24;
        case ctl::roof_texture_button: return 12;
        case ctl::terrain_ground_texture_button:
        case ctl::mountain_ground_texture_button:
        case ctl::mountain_texture_button: return 20;
        default: return 10;  // doors, windows, waters, grass colours
    }
}

std::optional<Failure> apply_control(RenderSettings& s, const ControlOption& option, const std::string& value) {
    const std::string where = "--" + option.name + ": ";
    switch (option.kind) {
        case OptionKind::flag: {
            bool on = false;
            if (!parse_bool(value, on)) return Failure{where + in_quotes(value) + " is not true or false"};
            s.controls.emplace_back(option.control, on ? 1 : 0);
            return std::nullopt;
        }
        case OptionKind::choice: {
            const int item = combo_item_for(*option.spec, value);
            if (item < 0) {
                std::string items;
                for (const std::string& text : option.spec->items) items += (items.empty() ? "" : ", ") + text;
                return Failure{where + in_quotes(value) + " is not one of: " + items};
            }
            s.controls.emplace_back(option.control, item);
            return std::nullopt;
        }
        case OptionKind::texture:
        case OptionKind::texture_list: {
            std::vector<int> picks;
            std::stringstream list(value);
            std::string part;
            while (std::getline(list, part, ',')) {
                long long number = -1;
                const int count = texture_count(option.control);
                if (!parse_int(part, number) || number < 0 || number >= count)
                    return Failure{where + in_quotes(part) + " is not a texture number from 0 to " +
                                   std::to_string(count - 1)};
                picks.push_back(static_cast<int>(number));
            }
            if (option.kind == OptionKind::texture && picks.size() != 1)
                return Failure{where + "takes one texture number"};
            s.textures.emplace_back(option.control, picks);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

Failure unknown_setting(const std::string& name) {
    const std::string near = nearest_name(name, every_setting_name());
    return Failure{"unknown setting " + in_quotes(name) + (near.empty() ? "" : " (did you mean \"" + near + "\"?)")};
}

// One named setting, from the command line or a settings file.
std::optional<Failure> apply_setting(RenderSettings& s, const std::string& name, const std::string& value) {
    if (value.empty() && name == "frames")  // the flag this once was
        return Failure{"--frames: no number of frames given (the purple cell outlines are --cell-frames)"};
    if (value.empty()) return Failure{"--" + name + ": no value given"};
    if (value.find('\0') != std::string::npos) return Failure{"--" + name + ": the value holds a NUL character"};
    long long number = 0;
    bool on = false;
    if (name == "kind") {
        s.tab = tab_for_kind(value);
        if (s.tab < 0) return Failure{"--kind: " + in_quotes(value) + " is not one of: house, tree, terrain, mountain, water, transition"};
    } else if (name == "iso-width") {
        if (!parse_int(value, number) || number < 40 || number > 200 || number % 2 != 0)
            return Failure{"--iso-width: " + in_quotes(value) + " is not an even width from 40 to 200"};
        s.iso_width = static_cast<int>(number);
    } else if (name == "terrains") {
        if (auto problem = read_transition_terrains(s, value)) return Failure{"--terrains: " + *problem};
    } else if (name == "variants") {
        if (!parse_int(value, number) || number < 1 || number > most_variants)
            return Failure{"--variants: " + in_quotes(value) + " is not a number of variants from 1 to 64"};
        s.variants = static_cast<int>(number);
    } else if (name == "count") {
        if (!parse_int(value, number) || number < 1 || number > most_tiles)
            return Failure{"--count: " + in_quotes(value) + " is not a number of tiles from 1 to 1000000"};
        s.count = static_cast<int>(number);
    } else if (name == "seed") {
        unsigned long long seed = 0;
        const auto [at, error] = std::from_chars(value.data(), value.data() + value.size(), seed);
        if (error != std::errc() || at != value.data() + value.size() || value.empty())
            return Failure{"--seed: " + in_quotes(value) + " is not a whole number from 0 to 18446744073709551615"};
        s.seed = seed;
    } else if (name == "tile-seed") {
        unsigned long long seed = 0;
        const auto [at, error] = std::from_chars(value.data(), value.data() + value.size(), seed);
        if (error != std::errc() || at != value.data() + value.size() || value.empty())
            return Failure{"--tile-seed: " + in_quotes(value) + " is not a whole number from 0 to 18446744073709551615"};
        s.tile_stream = seed;
    } else if (name == "shard") {
        long long k = -1, n = 0;
        const std::size_t slash = value.find('/');
        if (slash == std::string::npos || !parse_int(value.substr(0, slash), k) ||
            !parse_int(value.substr(slash + 1), n) || n < 1 || n > most_tiles || k < 0 || k >= n)
            return Failure{"--shard: " + in_quotes(value) + " is not K/N, shard K (from 0) of N, with K below N"};
        s.shard = static_cast<int>(k);
        s.shards = static_cast<int>(n);
    } else if (name == "jobs") {
        if (!parse_int(value, number) || number < 1 || number > most_jobs())
            return Failure{"--jobs: " + in_quotes(value) + " is not a number of jobs from 1 to " +
                           std::to_string(most_jobs()) + " (four a core)"};
        s.jobs = static_cast<int>(number);
    } else if (name == "out") {
        if (value.empty()) return Failure{"--out: no folder named"};
        s.out = value;
    } else if (name == "format") {
        if (value != "png" && value != "bmp") return Failure{"--format: " + in_quotes(value) + " is not png or bmp"};
        s.png = value == "png";
    } else if (name == "transparent" || name == "trim" || name == "quiet" || name == "cell-frames" || name == "gif") {
        if (!parse_bool(value, on)) return Failure{"--" + name + ": " + in_quotes(value) + " is not true or false"};
        (name == "transparent" ? s.transparent : name == "trim" ? s.trim : name == "quiet" ? s.quiet
                                                 : name == "gif" ? s.gif : s.frames) = on;
    } else if (name == "frames") {
        if (!parse_int(value, number) || number < 1 || number > most_frames)
            return Failure{"--frames: " + in_quotes(value) + " is not a number of frames from 1 to 64" +
                           (value.empty() || parse_bool(value, on) ? " (the purple cell outlines are --cell-frames)" : "")};
        s.loop_frames = static_cast<int>(number);
    } else if (name == "frame-ms") {
        if (!parse_int(value, number) || number < 10 || number > 60000)
            return Failure{"--frame-ms: " + in_quotes(value) + " is not a time from 10 to 60000 milliseconds"};
        s.frame_ms = static_cast<int>(number);
    } else if (name == "normals" || name == "heights") {
        if (!parse_bool(value, on)) return Failure{"--" + name + ": " + in_quotes(value) + " is not true or false"};
        (name == "normals" ? s.normals : s.heights) = on;
    } else if (name == "lit") {
        return apply_light(s, value);
    } else if (name == "columns" || name == "spacing" || name == "margin") {
        if (!parse_int(value, number) || number < 0 || number > 4096)
            return Failure{"--" + name + ": " + in_quotes(value) + " is not a number from 0 to 4096"};
        (name == "columns" ? s.columns : name == "spacing" ? s.spacing : s.margin) = static_cast<int>(number);
    } else if (name == "sheet" || name == "tmx" || name == "godot" || name == "godot3" || name == "textures") {
        if (value.empty()) return Failure{"--" + name + ": no file named"};
        (name == "sheet"    ? s.sheet
         : name == "tmx"    ? s.tmx
         : name == "godot"  ? s.godot
         : name == "godot3" ? s.godot3
                            : s.texture_folder) = value;
        // Recorded in manifests, which must work from any folder.
        if (name == "textures") s.texture_folder = std::filesystem::absolute(value).lexically_normal().string();
    } else if (const ControlOption* option = find_control_option(name)) {
        return apply_control(s, *option, value);
    } else {
        return unknown_setting(name);
    }
    return std::nullopt;
}

std::optional<Failure> apply_settings_file(RenderSettings& s, const std::string& path, std::set<std::string>& named) {
    const SettingsFile file = read_settings_file(path);
    if (!file.problem.empty()) return Failure{file.problem};
    const std::string where = "--settings " + path + ": ";
    for (const auto& [name, value] : file.settings) {
        if (name == "settings") return Failure{where + "names another settings file"};
        std::string text;
        if (is_unknown_setting(name)) return Failure{where + unknown_setting(name).message};
        if (auto problem = setting_value_text(name, value, text)) return Failure{where + *problem};
        if (auto failure = apply_setting(s, name, text)) return Failure{where + failure->message};
        named.insert(name);
    }
    return std::nullopt;
}

// CLI11's own message, kept to one short line.
std::string shown_line(const std::string& text) {
    constexpr std::size_t longest = 200;
    return text.size() <= longest ? text : text.substr(0, longest) + "...";
}

// The first argument that names no option, with the option it is nearest.
std::string unknown_option_text(int argc, const char* const* argv, const std::map<std::string, CLI::Option*>& options) {
    std::vector<std::string> known = {"settings", "help"};
    for (const auto& [name, option] : options) known.push_back(name);
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg.rfind("--", 0) != 0) continue;
        const std::string name = arg.substr(2, arg.find('=') == std::string::npos ? std::string::npos : arg.find('=') - 2);
        if (std::find(known.begin(), known.end(), name) != known.end()) continue;
        const std::string near = nearest_name(name, known);
        return "unknown option " + in_quotes("--" + name) + (near.empty() ? "" : " (did you mean --" + near + "?)");
    }
    for (int k = 1; k < argc; ++k)
        if (argv[k][0] != '-') return "unexpected argument " + in_quotes(argv[k]) + ": every value follows its option";
    return "unexpected arguments";
}

// Every cell holds the tallest and widest tile the kind can paint at that
// width: a sheet that would not fit is refused before anything is drawn,
// with the number of tiles that would.
std::optional<std::string> sheet_too_large(const RenderSettings& s) {
    const CellBound cell = largest_cell(s);
    const int frames = std::max(1, s.loop_frames);  // moving water: a cell a frame, whole tiles a row
    const auto fits = [&](int count) {
        const SheetLayout layout =
            sheet_for_cells(cell, count * frames, frames > 1 ? frame_sheet_columns(s.columns, count, frames) : s.columns,
                            s.spacing, s.margin);
        return layout.width <= largest_sheet_side && layout.height <= largest_sheet_side &&
               static_cast<long long>(layout.width) * layout.height <= largest_sheet_pixels;
    };
    if (fits(s.count)) return std::nullopt;
    int low = 0, high = s.count;  // fits(low), !fits(high)
    while (high - low > 1) (fits((low + high) / 2) ? low : high) = (low + high) / 2;
    return "--sheet: " + std::to_string(s.count) + " tiles of kind " + tab_name(s.tab) + " at width " +
           std::to_string(s.iso_width) + " may need cells of " + std::to_string(cell.width()) + " x " +
           std::to_string(cell.height()) + " and would not fit on one sheet (at most " +
           std::to_string(largest_sheet_side) + " pixels a side, " + std::to_string(largest_sheet_pixels) +
           " in all); " + (low > 0 ? "at most " + std::to_string(low) + " fit with these --columns, --spacing and --margin"
                                   : "none fit with this --spacing and --margin") +
           ", or write one file a tile with --out";
}

// Only water moves: the Water kind, and terrain with a pool or a swamp.
std::optional<Failure> check_moving_water(const RenderSettings& s) {
    if (s.loop_frames <= 1) return std::nullopt;
    if (!s.godot3.empty())
        return Failure{"--godot3: a Godot 3 TileSet cannot declare tile animations; use --godot for Godot 4"};
    if (s.tab == tab_water) return std::nullopt;
    if (s.tab == transition_kind) {
        if (s.terrain_a.kind == TerrainKind::water || s.terrain_b.kind == TerrainKind::water) return std::nullopt;
        return Failure{"--frames: only water moves: a transition set moves when one of its --terrains is water"};
    }
    bool wet = false;
    if (s.tab == tab_terrain)
        for (const char* name : {"pool", "swamp"}) {
            const ControlOption* option = find_control_option(name);
            bool ticked = option && option->spec->default_state != 0;
            for (const auto& [control, state] : s.controls)
                if (option && control == option->control) ticked = state != 0;
            wet = wet || ticked;
        }
    if (wet) return std::nullopt;
    return Failure{"--frames: only water moves: use --kind water, terrain with --pool or --swamp, or a transition with a water terrain"};
}

// A transition set is sixteen tiles a variant, of two named terrains.
std::optional<Failure> check_transition(RenderSettings& s) {
    const bool chosen = !(s.terrain_a == s.terrain_b);
    if (s.tab != transition_kind) {
        if (chosen || s.variants != 1) return Failure{"--terrains and --variants need --kind transition"};
        return std::nullopt;
    }
    if (!chosen) return Failure{"--kind transition needs --terrains A,B, such as --terrains ground:3,water:0"};
    const int count = corner_masks * s.variants;
    if (s.count != 1 && s.count != count)
        return Failure{"--count: a transition set of " + std::to_string(s.variants) + " variant(s) has " +
                       std::to_string(count) + " tiles; set --variants instead"};
    s.count = count;
    return std::nullopt;
}

const char* group_of(int tab) {
    static const char* const groups[] = {"House", "Tree", "Terrain", "Mountain", "Water"};
    return tab >= 0 && tab <= tab_water ? groups[tab] : "Every kind";
}
}  // namespace

ParsedCommandLine parse_render_command_line(int argc, const char* const* argv) {
    CLI::App app{description, "brannoc-render"};
    app.footer(examples);
    app.get_formatter()->column_width(36);

    std::string settings_file;
    std::map<std::string, std::string> given;  // name -> value, in parse order below
    std::map<std::string, CLI::Option*> options;
    auto value_option = [&](const std::string& name, const std::string& text, const char* group,
                            const char* type = "VALUE") {
        options[name] = app.add_option("--" + name, given[name], text)->group(group)->type_name(type);
    };
    CLI::Option* settings_option = app.add_option("--settings", settings_file, "read settings from a JSON file of the same names (options given "
                                                "on the command line win)")
        ->group("General")
        ->type_name("FILE");
    value_option("kind", "house, tree, terrain, mountain, water or transition (default house)", "General", "KIND");
    value_option("iso-width", "tile width, any even number from 40 to 200 (default 100)", "General", "WIDTH");
    value_option("count", "number of tiles, 1 to 1000000 (default 1)", "General", "N");
    value_option("seed", "seed of the run (default 1)", "General", "SEED");
    value_option("tile-seed", "draw one tile from this stream, as a manifest's tile seed (a tile's \"drawn\" "
                              "block in a manifest is a settings file that draws it again)", "General", "SEED");
    value_option("jobs", "tiles drawn at once (default: the number of cores)", "General", "N");
    value_option("shard", "draw only shard K (from 0) of N: its contiguous part of the run's indices, with the "
                          "files and bytes they have in the whole run, listed in DIR/manifest.K-of-N.json; "
                          "'brannoc-render merge DIR' joins the shards' manifests", "General", "K/N");
    value_option("out", "folder for the files, made if missing (default: the current folder)", "Output", "DIR");
    value_option("textures", "draw with your own building_sheet.png, ground_sheet.png and boulder_sheet.png from DIR, "
                             "of the built-in sheets' sizes and grids (docs/artwork.md)", "General", "DIR");
    value_option("format", "png or bmp (default png); BMP as the window writes it", "Output", "FORMAT");
    std::map<std::string, bool> flags;
    // A flag ticks its box; --name=false unticks one that is ticked by default.
    auto flag_option = [&](const std::string& name, const std::string& text, const char* group) {
        options[name] = app.add_flag("--" + name, flags[name], text)->group(group);
    };
    flag_option("transparent", "RGBA PNGs, alpha 0 exactly where nothing was painted", "Output");
    flag_option("trim", "crop each tile to what it paints; the manifest gives the anchor", "Output");
    flag_option("quiet", "no progress bar and no summary", "Output");
    flag_option("normals", "also write NAME_n.png, the normal map: r, g, b = 127.5 (n + 1), X right, Y up, Z to the "
                           "viewer, alpha the image's", "Lighting maps");
    flag_option("heights", "also write NAME_h.png: 16-bit grey, each pixel's height above the ground in pixels",
                "Lighting maps");
    value_option("lit", "also write NAME_lit.png, the tile lit through its normals by one light from AZIMUTH degrees "
                        "(0 right, 90 top, 180 left) and ELEVATION degrees above the ground", "Lighting maps",
                 "AZIMUTH,ELEVATION");
    value_option("sheet", "lay the tiles out on one sheet (PNG or BMP by its name) instead of one file each, "
                          "with a Tiled tileset (.tsx) and a manifest (.json) beside it", "Sheets", "FILE");
    value_option("columns", "tiles across the sheet (default: about square)", "Sheets", "N");
    value_option("spacing", "pixels between cells (default 0)", "Sheets", "N");
    value_option("margin", "pixels around the cells (default 0; at the right and bottom at most a cell and its "
                           "spacing less one, so Tiled and Godot count the sheet's own columns and rows)", "Sheets", "N");
    flag_option("cell-frames", "outline each cell in the window's purple", "Sheets");
    value_option("frames", "moving water: draw each tile as N frames of one seamless loop, 2 to 64 (default 1, "
                           "still); for water, and terrain with --pool or --swamp. Sheets put a tile's frames "
                           "side by side in its row and declare the animation to Tiled and Godot; one file a "
                           "tile becomes a strip of its frames", "Animation", "N");
    options["frames"]->expected(0, 1);  // a bare --frames, the old outline flag, gets a message
    value_option("frame-ms", "how long each frame shows, in milliseconds (default 120)", "Animation", "MS");
    flag_option("gif", "also write an animated GIF to play: of each tile, or of a sample map of the sheet",
                "Animation");
    value_option("tmx", "also write a small isometric Tiled map of the tiles", "Sheets", "FILE");
    value_option("godot", "also write a Godot 4 TileSet resource (.tres) over the sheet", "Sheets", "FILE");
    value_option("godot3", "also write a Godot 3 TileSet resource (.tres) over the sheet, for an isometric TileMap",
                 "Sheets", "FILE");
    value_option("terrains", "the two terrains A,B of a transition set, each ground:N (0-19), water:N (0-9) or "
                             "rock:N (0-19)", "Transition", "A,B");
    value_option("variants", "tiles of each corner combination, alike along their edges (default 1)", "Transition", "N");
    for (const ControlOption& option : control_options()) {
        if (option.name == "iso-width") continue;  // any even width, above
        if (option.kind == OptionKind::flag) {
            const bool ticked = option.spec->default_state != 0;
            flag_option(option.name, option.description + (ticked ? " (ticked unless =false)" : ""),
                        group_of(option.tab));
        } else {
            const bool choice = option.kind == OptionKind::choice;
            const std::string text =
                option.description + (choice ? " (default " + option.spec->items[option.spec->default_state] + ")" : "");
            value_option(option.name, text, group_of(option.tab),
                         choice ? "ITEM" : option.kind == OptionKind::texture ? "N" : "N[,N...]");
        }
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return {std::nullopt, app.help(), 0};
    } catch (const CLI::ExtrasError&) {
        return {std::nullopt, report_text(unknown_option_text(argc, argv, options)), 2};
    } catch (const CLI::ParseError& error) {
        return {std::nullopt, report_text(shown_line(error.what())), 2};
    }

    RenderSettings settings;
    settings.jobs = std::max(1u, std::thread::hardware_concurrency());
    auto fail = [](const Failure& f) { return ParsedCommandLine{std::nullopt, report_text(f.message), 2}; };
    std::set<std::string> named;  // every setting given, in the file or on the command line
    if (settings_option->count() > 0 && settings_file.rfind("--", 0) == 0 &&
        options.count(settings_file.substr(2, settings_file.find('=') - 2)))
        return fail({"--settings: no file named (\"" + settings_file + "\" is the next option)"});
    if (settings_option->count() > 0)
        if (auto failure = apply_settings_file(settings, settings_file, named)) return fail(*failure);
    // "--out --quiet" leaves --out without its folder rather than making a
    // folder named "--quiet".
    for (const auto& [name, value] : given) {
        const std::string option = value.rfind("--", 0) == 0 ? value.substr(2, value.find('=') - 2) : "";
        if (options.count(name) && options[name]->count() > 0 && (options.count(option) || option == "settings"))
            return fail({"--" + name + ": no value given (\"" + value.substr(0, value.find('=')) +
                         "\" is the next option)"});
    }
    // Command-line options in the order of the help: general ones first, so
    // the kind and width are known before the controls.
    for (const GeneralSetting& setting : general_settings) {
        const std::string name = setting.name;
        if (options[name]->count() == 0) continue;
        const std::string value = given.count(name) ? given[name] : flags[name] ? "true" : "false";
        if (auto failure = apply_setting(settings, name, value)) return fail(*failure);
        named.insert(name);
    }
    for (const ControlOption& option : control_options()) {
        if (option.name == "iso-width" || options[option.name]->count() == 0) continue;
        const std::string value = option.kind == OptionKind::flag ? (flags[option.name] ? "true" : "false")
                                                                  : given[option.name];
        if (auto failure = apply_setting(settings, option.name, value)) return fail(*failure);
        named.insert(option.name);
    }
    if (!settings.sheet.empty()) {
        // The sheet's name says its format.
        const std::string& sheet = settings.sheet;
        const bool bmp = sheet.size() > 4 && sheet.compare(sheet.size() - 4, 4, ".bmp") == 0;
        const bool png = sheet.size() > 4 && sheet.compare(sheet.size() - 4, 4, ".png") == 0;
        if (!bmp && !png) return fail({"--sheet: " + in_quotes(sheet) + " names neither a .png nor a .bmp file"});
        if (!named.count("format")) settings.png = png;
    }
    if (const std::optional<std::string> conflict = option_conflict(settings, named)) return fail({*conflict});
    if (auto failure = check_moving_water(settings)) return fail(*failure);
    if (const std::optional<std::string> same = outputs_that_collide(settings, settings_file)) return fail({*same});

    // The window draws unlocked house sizes in its steps of ten; a width
    // between them holds only with the size locked.
    bool size_locked = true;
    for (const auto& [control, state] : settings.controls)
        if (control == ctl::lock_size) size_locked = state != 0;
    if (settings.tab == tab_house && !size_locked && settings.iso_width % 10 != 0)
        return fail({"--iso-width " + std::to_string(settings.iso_width) +
                     " needs --lock-size: unlocked, a house takes a random width of 90 to 160 in steps of ten"});
    if (auto failure = check_transition(settings)) return fail(*failure);
    if (!settings.sheet.empty()) {
        // XML has no way to write most control characters, not even escaped.
        for (const auto& [option, file] : std::initializer_list<std::pair<const char*, const std::string*>>{
                 {"--sheet", &settings.sheet}, {"--tmx", &settings.tmx}, {"--godot", &settings.godot},
                 {"--godot3", &settings.godot3}})
            if (!markup_can_name(*file))
                return fail({std::string(option) + ": " + in_quotes(*file) +
                             " holds control characters, which the Tiled and Godot files cannot name"});
        const char* godot = !settings.godot.empty() ? "--godot" : !settings.godot3.empty() ? "--godot3" : nullptr;
        if (!settings.png && godot)
            return fail({std::string(godot) +
                         ": Godot has no colour key and would draw a BMP sheet's black as black: name a .png sheet"});
        if (const std::optional<std::string> too_large = sheet_too_large(settings)) return fail({*too_large});
    }
    if (settings.transparent && !settings.png) return fail({"--transparent needs PNG output"});
    if (settings.wants_surfaces() && settings.loop_frames > 1 && settings.sheet.empty())
        return fail({"--normals, --heights and --lit with --frames need --sheet: the maps are laid out as the sheet's cells"});
    return {settings, "", 0};
}
