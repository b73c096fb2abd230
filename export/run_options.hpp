#pragma once
#include "export/problem.hpp"

#include <nlohmann/json.hpp>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The options of a brannoc-render run that are not controls (those come
// from the control table, see control_options.hpp), each declared once in
// run_option_table.cpp: its name, type, group, help, limits, the part of
// the run its value goes to, how it is read, how it is written to a
// settings file and a manifest, and what it conflicts with or needs. The
// command line, the settings-file reader, the manifests, the window's copied
// command and what a world takes are all made from these rows; the checks
// across them are in run_checks.cpp.

struct RenderSettings;
struct TileRequest;

// What a setting takes: on the command line as text, in a settings file
// as this JSON type and nothing that only looks like it.
enum class SettingType { text, whole_number, number, flag, choice, texture, texture_list };

// The options other code names, to read one's row or word a message. A
// row no other code names needs no id of its own: it is `unnamed`.
enum class RunOptionId {
    unnamed,
    settings,
    kind,
    iso_width,
    count,
    seed,
    tile_seed,
    jobs,
    shard,
    out,
    textures,
    format,
    transparent,
    trim,
    quiet,
    normals,
    heights,
    lit,
    albedo,
    sheet,
    columns,
    spacing,
    margin,
    cell_outlines,
    frames,
    frame_ms,
    flow,
    gif,
    tmx,
    godot,
    godot3,
    terrains,
    variants,
    set_tile,
    step,
    cliff,
    over,
    channel,
    road,
    size,
    levels,
    palette,
    thresholds,
    rivers,
    river_threshold,
    settlements,
    no_picture
};

// Which of a tile's records repeat an option: the block that draws one
// tile again, and the block that draws a whole set again.
enum DrawnIn : unsigned { drawn_nowhere = 0, drawn_tile = 1, drawn_set = 2 };

struct OptionRule {
    RunOptionId other;
    const char* why;  // the whole message
};

// The part of the run an option's value goes to (render_settings.hpp,
// tile_request.hpp). A world takes the options of the run, of the tiles'
// drawing and of its own shape, and decides its tiles' choice and image.
enum class OptionPart { run, tile_choice, tile_drawing, tile_image, batch, sheet, world };

struct RunOption {
    RunOptionId id;
    const char* name;  // without the dashes; also the settings file's and manifest's key
    SettingType type;
    const char* group;       // where --help lists it
    const char* value_name;  // "N", "FILE", ...; nullptr for a flag
    std::string help;
    // A bare option (no value) is told this instead of being refused as
    // empty; nullptr: it always takes its value.
    const char* when_bare;
    OptionPart part;
    // Reads the option's value, as text, into its part of the settings; the
    // problem as a whole line naming the option otherwise. Empty: the front
    // end handles it (the settings file itself).
    std::function<Problem(RenderSettings& settings, const std::string& value)> read;
    // Its value in a settings file and a manifest's settings block; null
    // leaves it out. Empty: never written. An option of the tile's request
    // is written from the request alone (written_tile), so a tile's record
    // needs nothing else.
    std::function<nlohmann::json(const RenderSettings& settings)> written;
    std::function<nlohmann::json(const TileRequest& tile)> written_tile;
    unsigned drawn_in;                 // DrawnIn bits; only options of the tile's request
    std::vector<OptionRule> excludes;  // never together: the second would be ignored, or they contradict
    std::vector<OptionRule> needs;     // only with: alone it would do nothing
};

// In the order --help lists them and a command line applies them: the
// kind and width come before everything they shape.
const std::vector<RunOption>& run_options();
const RunOption& run_option(RunOptionId id);
const RunOption* find_run_option(const std::string& name);
// "--name", for messages and commands.
std::string dashed(RunOptionId id);
// The options only a world takes (--size, ...), and every option a world
// takes: those and the run's and the tiles' drawing, which mean the same
// for a world (--seed, --iso-width, --variants, --frames, --normals,
// --textures, --jobs, --shard, --out, ...).
bool shapes_world(const RunOption& option);
bool applies_to_world(const RunOption& option);

// The JSON type a named setting takes (run options and controls alike);
// nullopt for a name no option has.
std::optional<SettingType> setting_type(const std::string& name);
// Every setting brannoc-render knows: the run options and the controls'.
std::vector<std::string> every_setting_name();

// A settings file's value as its option's text, if its JSON type is the
// one the setting takes ({"out": null}, {"count": [3]}, {"transparent": 1}
// are refused); otherwise the problem, naming the key.
Problem setting_value_text(const std::string& name, const nlohmann::json& value, std::string& text);

// One named setting, from the command line or a settings file: a run
// option's or a control's. The problem as a whole line otherwise.
Problem apply_setting(RenderSettings& settings, const std::string& name, const std::string& value);

// The checks across options once each has its value, in order; `named`
// holds every option given, on the command line or in a settings file.
// May settle the count (a transition set's is its tiles').
Problem check_run(RenderSettings& settings, const std::set<std::string>& named);

// The command line's checks of one tile drawn alone (its image, without
// the lighting maps beside it), as if its settings were given as a settings
// file: what a world checks of each tile and sprite before it draws them.
Problem check_tile_request(const TileRequest& tile);

// The settings as option names and values: a settings file, and the
// manifest's settings block.
nlohmann::json settings_block(const RenderSettings& settings);
// The options a tile's record repeats so that it draws again (`which` a
// DrawnIn bit).
nlohmann::json drawn_block(const TileRequest& tile, DrawnIn which);

// Small readers shared with the controls' options.
std::string in_quotes(const std::string& value);  // the value shown safely, quoted
bool read_whole_number(const std::string& text, long long& value);
bool read_flag(const std::string& text, bool& value);
