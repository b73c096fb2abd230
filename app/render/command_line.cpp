#include "app/render/command_line.hpp"

#include "app/render/option_rules.hpp"
#include "app/render/report_line.hpp"
#include "export/settings_file.hpp"
#include "export/control_options.hpp"
#include "export/run_options.hpp"
#include "state/control_ids.hpp"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <map>
#include <set>
#include <thread>

namespace {
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

const char* const world_description =
    "NAME\n"
    "  brannoc-render world - a whole isometric map from one seed, for Tiled and Godot\n"
    "\n"
    "DESCRIPTION\n"
    "  Grows land and sea, levels, forests and settlements from --seed, draws\n"
    "  every tile and object the map places with the same generators as the\n"
    "  tiles, and writes the sheets with their Tiled and Godot tilesets, the\n"
    "  Tiled map, a render of it (exactly what Tiled draws), Godot 4 and Godot 3\n"
    "  scenes and a manifest. The same command writes the same bytes with any\n"
    "  --jobs. Files appear whole or not at all.\n";

const char* const world_examples =
    "FILES\n"
    "  DIR/world.tmx, world.png, world.tscn, world.json and the sheets\n"
    "  world_tiles.*, world_water.* (with --frames) and world_objects.*; for\n"
    "  Godot 3, DIR/godot3/ alone: world.tscn, its TileSets and their sheets;\n"
    "  with --shard K/N the same named world_K.\n"
    "\n"
    "EXAMPLES\n"
    "  A 64 x 64 world at width 64:\n"
    "    brannoc-render world --size 64x64 --seed 7 --iso-width 64 --out world\n"
    "  A 4096 x 4096 world in 256 chunks, then one .world for Tiled:\n"
    "    parallel brannoc-render world --size 4096x4096 --seed 7 --iso-width 64 --out big \\\n"
    "      --shard {}/256 --quiet ::: $(seq 0 255)\n"
    "    brannoc-render merge big\n"
    "\n"
    "EXIT STATUS\n"
    "  0 all files written; 1 a file could not be written; 2 bad options, settings\n"
    "  or textures, or an output folder that cannot be written (nothing written).\n";

struct Failure {
    std::string message;
};

Failure unknown_setting(const std::string& name) {
    const std::string near = nearest_name(name, every_setting_name());
    return Failure{"unknown setting " + in_quotes(name) + (near.empty() ? "" : " (did you mean \"" + near + "\"?)")};
}

std::optional<Failure> apply(RenderSettings& s, const std::string& name, const std::string& value) {
    if (std::optional<std::string> problem = apply_setting(s, name, value)) return Failure{*problem};
    return std::nullopt;
}

std::optional<Failure> apply_settings_file(RenderSettings& s, const std::string& path, std::set<std::string>& named) {
    const SettingsFile file = read_settings_file(path);
    if (file.problem) return Failure{*file.problem};
    const std::string where = dashed(RunOptionId::settings) + " " + shown_path(path) + ": ";
    for (const auto& [name, value] : file.settings) {
        if (name == run_option(RunOptionId::settings).name) return Failure{where + "names another settings file"};
        std::string text;
        if (!setting_type(name)) return Failure{where + unknown_setting(name).message};
        if (auto problem = setting_value_text(name, value, text)) return Failure{where + *problem};
        if (auto failure = apply(s, name, text)) return Failure{where + failure->message};
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
std::string unknown_option_text(int argc, const char* const* argv, const std::map<std::string, CLI::Option*>& options,
                                const std::vector<std::string>& extras) {
    std::vector<std::string> known = {run_option(RunOptionId::settings).name, "help"};
    for (const auto& [name, option] : options) known.push_back(name);
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg.rfind("--", 0) != 0) continue;
        const std::string name =
            arg.substr(2, arg.find('=') == std::string::npos ? std::string::npos : arg.find('=') - 2);
        if (std::find(known.begin(), known.end(), name) != known.end()) continue;
        const std::string near = nearest_name(name, known);
        return "unknown option " + in_quotes("--" + name) + (near.empty() ? "" : " (did you mean --" + near + "?)");
    }
    // What CLI11 had no option for: values went to their options.
    for (const std::string& extra : extras)
        if (extra.rfind("-", 0) != 0)
            return "unexpected argument " + in_quotes(extra) + ": every value follows its option";
    return "unexpected arguments";
}

// "--out --settings x.json" leaves --out without its folder rather than
// making a folder named "--settings": an option's value never names another.
std::optional<Failure> value_is_an_option(int argc, const char* const* argv,
                                          const std::map<std::string, CLI::Option*>& options) {
    const std::string settings = run_option(RunOptionId::settings).name;
    const auto names_option = [&](const std::string& arg) {
        if (arg.rfind("--", 0) != 0) return false;
        const std::string name =
            arg.substr(2, arg.find('=') == std::string::npos ? std::string::npos : arg.find('=') - 2);
        return name == settings || options.count(name) != 0;
    };
    for (int k = 1; k + 1 < argc; ++k) {
        const std::string arg = argv[k];
        if (arg.rfind("--", 0) != 0 || arg.find('=') != std::string::npos || !names_option(argv[k + 1])) continue;
        const std::string name = arg.substr(2);
        const RunOption* run = find_run_option(name);
        const ControlOption* control = find_control_option(name);
        const bool takes_value =
            run ? run->type != SettingType::flag && !run->when_bare : control && control->kind != OptionKind::flag;
        if (!takes_value) continue;
        const std::string next = std::string(argv[k + 1]).substr(0, std::string(argv[k + 1]).find('='));
        if (name == settings)
            return Failure{dashed(RunOptionId::settings) + ": no file named (\"" + next + "\" is the next option)"};
        return Failure{"--" + name + ": no value given (\"" + next + "\" is the next option)"};
    }
    return std::nullopt;
}

// A flag's "=VALUE" must say true or false: CLI11 reads "--gif=2" and
// "--transparent=" as ticked.
std::optional<Failure> flag_values(int argc, const char* const* argv) {
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        const std::size_t equals = arg.find('=');
        if (arg.rfind("--", 0) != 0 || equals == std::string::npos) continue;
        const std::string name = arg.substr(2, equals - 2), value = arg.substr(equals + 1);
        const RunOption* run = find_run_option(name);
        const ControlOption* control = find_control_option(name);
        const bool flag = run ? run->type == SettingType::flag : control && control->kind == OptionKind::flag;
        bool on = false;
        if (!flag || read_flag(value, on)) continue;
        if (value.empty())
            return Failure{"--" + name + "=: no value given (write --" + name + " or --" + name + "=false)"};
        return Failure{"--" + name + ": " + in_quotes(value) + " is not true or false"};
    }
    return std::nullopt;
}

std::string group_of(int tab) {
    const TileKindRow* kind = kind_of_tab(tab);
    return kind ? tab_title(*kind) : "Every kind";
}
}  // namespace

ParsedCommandLine parse_render_command_line(int argc, const char* const* argv, bool world) {
    CLI::App app{world ? world_description : description, world ? "brannoc-render world" : "brannoc-render"};
    app.footer(world ? world_examples : examples);
    app.get_formatter()->column_width(36);

    std::string settings_file;
    std::map<std::string, std::string> given;  // name -> value
    std::map<std::string, bool> flags;         // a flag ticks its box; --name=false unticks one ticked by default
    std::map<std::string, CLI::Option*> options;
    CLI::Option* settings_option = nullptr;
    for (const RunOption& option : run_options()) {
        const std::string name = option.name;
        CLI::Option* added = nullptr;
        if (!option.read) added = settings_option = app.add_option("--" + name, settings_file, option.help);
        else if (option.type == SettingType::flag) added = app.add_flag("--" + name, flags[name], option.help);
        else added = app.add_option("--" + name, given[name], option.help);
        // A world's help lists only what a world takes (the group "" hides the rest).
        added->group(world && !applies_to_world(option) ? "" : option.group);
        if (option.value_name) added->type_name(option.value_name);
        if (option.when_bare) added->expected(0, 1);  // told what it once meant, rather than refused
        if (option.read) options[name] = added;
    }
    const std::string& width_option = run_option(RunOptionId::iso_width).name;
    for (const ControlOption& option : control_options()) {
        if (option.name == width_option) continue;  // any even width, above
        if (option.kind == OptionKind::flag) {
            const bool ticked = option.spec->default_state != 0;
            options[option.name] = app.add_flag("--" + option.name, flags[option.name],
                                                option.description + (ticked ? " (ticked unless =false)" : ""))
                                       ->group(world ? "" : group_of(option.tab));
        } else {
            const bool choice = option.kind == OptionKind::choice;
            const std::string text =
                option.description +
                (choice ? " (default " + option.spec->items[option.spec->default_state] + ")" : "");
            options[option.name] = app.add_option("--" + option.name, given[option.name], text)
                                       ->group(world ? "" : group_of(option.tab))
                                       ->type_name(choice                               ? "ITEM"
                                                   : option.kind == OptionKind::texture ? "N"
                                                                                        : "N[,N...]");
        }
    }

    auto fail = [](const Failure& f) { return ParsedCommandLine{std::nullopt, report_text(f.message), 2}; };
    if (auto failure = value_is_an_option(argc, argv, options)) return fail(*failure);
    if (auto failure = flag_values(argc, argv)) return fail(*failure);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return {std::nullopt, app.help(), 0};
    } catch (const CLI::ExtrasError&) {
        return {std::nullopt, report_text(unknown_option_text(argc, argv, options, app.remaining())), 2};
    } catch (const CLI::ParseError& error) {
        return {std::nullopt, report_text(shown_line(error.what())), 2};
    }

    RenderSettings settings = world ? default_world_settings() : RenderSettings();
    settings.jobs = std::max(1u, std::thread::hardware_concurrency());
    const std::string settings_name = run_option(RunOptionId::settings).name;
    std::set<std::string> named;  // every setting given, in the file or on the command line
    if (settings_option->count() > 0 && settings_file.rfind("--", 0) == 0 &&
        options.count(settings_file.substr(2, settings_file.find('=') - 2)))
        return fail({dashed(RunOptionId::settings) + ": no file named (\"" + settings_file + "\" is the next option)"});
    if (settings_option->count() > 0)
        if (auto failure = apply_settings_file(settings, settings_file, named)) return fail(*failure);
    // "--out --quiet" leaves --out without its folder rather than making a
    // folder named "--quiet".
    for (const auto& [name, value] : given) {
        const std::string option = value.rfind("--", 0) == 0 ? value.substr(2, value.find('=') - 2) : "";
        if (options.count(name) && options[name]->count() > 0 && (options.count(option) || option == settings_name))
            return fail(
                {"--" + name + ": no value given (\"" + value.substr(0, value.find('=')) + "\" is the next option)"});
    }
    // Command-line options in the order of the help: the run's own first, so
    // the kind and width are known before the controls.
    const auto apply_given = [&](const std::string& name, bool flag) -> std::optional<Failure> {
        if (!options.count(name) || options[name]->count() == 0) return std::nullopt;
        const std::string value = flag ? (flags[name] ? "true" : "false") : given[name];
        if (auto failure = apply(settings, name, value)) return failure;
        named.insert(name);
        return std::nullopt;
    };
    for (const RunOption& option : run_options())
        if (auto failure = apply_given(option.name, option.type == SettingType::flag)) return fail(*failure);
    for (const ControlOption& option : control_options())
        if (option.name != width_option)
            if (auto failure = apply_given(option.name, option.kind == OptionKind::flag)) return fail(*failure);
    if (const std::optional<std::string> problem = check_run(settings, named)) return fail({*problem});
    if (const std::optional<std::string> same = outputs_that_collide(settings, settings_file)) return fail({*same});
    return {settings, "", 0};
}
