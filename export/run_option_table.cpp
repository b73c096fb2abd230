// Every run option, declared once: the rows below are all brannoc-render
// knows of its options beyond the controls.
#include "export/run_options.hpp"

#include "export/render_settings.hpp"

#include "export/shown_text.hpp"
#include "export/tile/channel_text.hpp"
#include "export/tile/road_text.hpp"
#include "export/tile/slope_tiles.hpp"
#include "export/tile/transition_tiles.hpp"
#include "generators/world/world_palettes.hpp"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <thread>
#include <type_traits>

namespace {
using json = nlohmann::json;
using Id = RunOptionId;

// The limits, and nothing but these, make both the checks and the help.
constexpr int narrowest_tile = 40, widest_tile = 200;
constexpr int most_tiles = 1'000'000;
constexpr int most_frames = 64;
constexpr int fewest_frame_ms = 10, most_frame_ms = 60'000;
constexpr int most_variants = 64;
constexpr int most_sheet_number = 4096;  // columns, spacing, margin
// More jobs than this only queue for the cores and hold memory.
int most_jobs() { return 4 * static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

std::string text(long long number) { return std::to_string(number); }

// Each option's value goes to one part of the settings, known from the
// struct that declares its field: the part decides who may set it (a world
// takes only some parts), and a tile's options are written from the tile's
// request alone.
template <class Part>
struct PartInfo;
template <>
struct PartInfo<RunRequest> {
    static constexpr OptionPart part = OptionPart::run;
};
template <>
struct PartInfo<TileChoice> {
    static constexpr OptionPart part = OptionPart::tile_choice;
};
template <>
struct PartInfo<TileDrawing> {
    static constexpr OptionPart part = OptionPart::tile_drawing;
};
template <>
struct PartInfo<Lighting> {
    static constexpr OptionPart part = OptionPart::tile_drawing;
};
template <>
struct PartInfo<TileImage> {
    static constexpr OptionPart part = OptionPart::tile_image;
};
template <>
struct PartInfo<BatchRequest> {
    static constexpr OptionPart part = OptionPart::batch;
};
template <>
struct PartInfo<SheetRequest> {
    static constexpr OptionPart part = OptionPart::sheet;
};
template <>
struct PartInfo<WorldShape> {
    static constexpr OptionPart part = OptionPart::world;
};

template <class Part>
Part& part_of(RenderSettings& s) {
    if constexpr (std::is_same_v<Part, WorldShape>) return s.world_shape;
    else return s;
}

template <class Part>
constexpr bool of_tile = std::is_base_of_v<Part, TileRequest>;
template <class Part>
using WrittenFrom = std::conditional_t<of_tile<Part>, TileRequest, RenderSettings>;
template <class Part>
using Read = Problem (*)(Part&, const std::string&);
template <class Part>
using Write = json (*)(const WrittenFrom<Part>&);

// The part that declares a field: &RenderSettings::count is a field of
// BatchRequest.
template <class Member>
struct MemberOf;
template <class Part, class Field>
struct MemberOf<Field Part::*> {
    using type = Part;
};
template <auto field>
using PartWith = typename MemberOf<decltype(field)>::type;

// "house, tree, ..., water or transition".
std::string kinds_choice() {
    std::string names = kind_names();
    const std::size_t last = names.rfind(", ");
    return last == std::string::npos ? names : names.replace(last, 2, " or ");
}

std::string terrain_ranges() {
    const auto range = [](const char* kind, TerrainKind k) {
        return std::string(kind) + ":N (0-" + text(terrain_cell_count(k) - 1) + ")";
    };
    return range("ground", TerrainKind::ground) + ", " + range("water", TerrainKind::water) + " or " +
           range("rock", TerrainKind::rock);
}

Problem not_a(Id id, const std::string& value, const std::string& what) {
    return dashed(id) + ": " + in_quotes(value) + " is not " + what;
}

// A whole number from low to high into `field`.
template <Id id, auto field, long long low, long long high>
Problem read_number(PartWith<field>& s, const std::string& value, const std::string& what) {
    long long number = 0;
    if (!read_whole_number(value, number) || number < low || number > high) return not_a(id, value, what);
    s.*field = static_cast<int>(number);
    return std::nullopt;
}

Problem read_seed(Id id, const std::string& value, std::uint64_t& seed) {
    unsigned long long number = 0;
    const auto [at, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || at != value.data() + value.size() || value.empty())
        return not_a(id, value, "a whole number from 0 to 18446744073709551615");
    seed = number;
    return std::nullopt;
}

template <Id id, auto field>
Problem read_switch(PartWith<field>& s, const std::string& value) {
    bool on = false;
    if (!read_flag(value, on)) return not_a(id, value, "true or false");
    s.*field = on;
    return std::nullopt;
}

template <auto field>
Problem read_name(PartWith<field>& s, const std::string& value) {
    s.*field = value;
    return std::nullopt;
}

template <auto field>
json write_switch(const WrittenFrom<PartWith<field>>& s) {
    return s.*field;
}

// A setting written only when it is not its default (off, or 0): manifests
// of runs that leave it alone keep their bytes.
template <auto field>
json write_if_set(const WrittenFrom<PartWith<field>>& s) {
    return s.*field ? json(s.*field) : json();
}

// --columns, --spacing and --margin: a number of cells or pixels.
template <Id id, auto field>
Problem read_sheet_number(SheetRequest& s, const std::string& value) {
    return read_number<id, field, 0, most_sheet_number>(s, value, "a number from 0 to " + text(most_sheet_number));
}

// "AZIMUTH,ELEVATION" in degrees: any azimuth, an elevation from 0 to 90.
Problem read_light(Lighting& s, const std::string& value) {
    const std::size_t comma = value.find(',');
    double numbers[2] = {0, 0};
    const std::string parts[2] = {value.substr(0, comma), comma == std::string::npos ? "" : value.substr(comma + 1)};
    for (int k = 0; k < 2; ++k) {
        const char* end = parts[k].data() + parts[k].size();
        const auto [at, error] = std::from_chars(parts[k].data(), end, numbers[k]);
        if (parts[k].empty() || error != std::errc() || at != end || !std::isfinite(numbers[k]))
            return not_a(Id::lit, value, "AZIMUTH,ELEVATION in degrees (for instance 135,45)");
    }
    if (numbers[1] < 0 || numbers[1] > 90) return dashed(Id::lit) + ": the elevation must be from 0 to 90 degrees";
    s.lit = true;
    s.light_azimuth = numbers[0];
    s.light_elevation = numbers[1];
    return std::nullopt;
}

// The light as --lit takes it, each angle in the fewest digits that read
// back the same.
json write_light(const TileRequest& s) {
    if (!s.lit) return json();
    std::string out;
    for (const double angle : {s.light_azimuth, s.light_elevation}) {
        char digits[32];
        const auto [end, error] = std::to_chars(digits, digits + sizeof digits, angle);
        out += (out.empty() ? "" : ",") + std::string(digits, error == std::errc() ? end : digits);
    }
    return out;
}

Problem read_shard(RunRequest& s, const std::string& value) {
    long long k = -1, n = 0;
    const std::size_t slash = value.find('/');
    if (slash == std::string::npos || !read_whole_number(value.substr(0, slash), k) ||
        !read_whole_number(value.substr(slash + 1), n) || n < 1 || n > most_tiles || k < 0 || k >= n)
        return not_a(Id::shard, value, "K/N, shard K (from 0) of N, with K below N");
    s.shard = static_cast<int>(k);
    s.shards = static_cast<int>(n);
    return std::nullopt;
}

// The world's options.
constexpr int most_world_cells = 4096;
constexpr int most_world_levels = 8;
constexpr int most_world_rivers = 4096;
constexpr int most_river_threshold = 1'000'000;
constexpr int most_world_settlements = 4096;

std::string palette_names() {
    std::string names;
    for (const WorldPalette& palette : world_palettes()) names += (names.empty() ? "" : ", ") + palette.name;
    return names;
}

Problem read_world_size(WorldShape& s, const std::string& value) {
    const std::size_t x = value.find('x');
    long long w = 0, h = 0;
    if (x == std::string::npos || !read_whole_number(value.substr(0, x), w) ||
        !read_whole_number(value.substr(x + 1), h) || w < 1 || h < 1 || w > most_world_cells || h > most_world_cells)
        return not_a(Id::size, value, "WxH, cells across and down, each from 1 to " + text(most_world_cells));
    s.width = static_cast<int>(w);
    s.height = static_cast<int>(h);
    return std::nullopt;
}

// Each threshold by name, in the order the help and the manifest give them.
struct ThresholdName {
    const char* name;
    double WorldThresholds::*field;
};
constexpr ThresholdName threshold_names[] = {{"deep-water", &WorldThresholds::deep_water},
                                             {"water", &WorldThresholds::water},
                                             {"shore", &WorldThresholds::shore},
                                             {"rock", &WorldThresholds::rock},
                                             {"snow", &WorldThresholds::snow},
                                             {"meadow", &WorldThresholds::meadow},
                                             {"forest", &WorldThresholds::forest}};

std::string threshold_help() {
    std::string help;
    const WorldThresholds defaults;
    for (const ThresholdName& t : threshold_names) {
        char number[32];
        const auto [end, error] = std::to_chars(number, number + sizeof number, defaults.*t.field);
        help += (help.empty() ? "" : ", ") + std::string(t.name) + "=" + std::string(number, end);
    }
    return help +
           " (elevation below deep-water, water and shore, from rock and snow; moisture below meadow, "
           "from forest)";
}

Problem read_thresholds(WorldShape& s, const std::string& value) {
    WorldThresholds read = s.thresholds;
    std::vector<std::string> seen;  // each name once: a second would silently win
    std::size_t at = 0;
    while (at <= value.size()) {
        const std::size_t comma = std::min(value.find(',', at), value.size());
        const std::string part = value.substr(at, comma - at);
        const std::size_t equals = part.find('=');
        const std::string name = part.substr(0, equals);
        const auto known = std::find_if(std::begin(threshold_names), std::end(threshold_names),
                                        [&](const ThresholdName& t) { return name == t.name; });
        if (equals == std::string::npos || known == std::end(threshold_names))
            return not_a(Id::thresholds, part,
                         "NAME=V with NAME one of deep-water, water, shore, rock, snow, "
                         "meadow, forest");
        const std::string number = part.substr(equals + 1);
        double v = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), v);
        if (number.empty() || error != std::errc() || end != number.data() + number.size() || !(v >= 0 && v <= 1))
            return not_a(Id::thresholds, part, "NAME=V with V from 0 to 1");
        if (std::find(seen.begin(), seen.end(), name) != seen.end())
            return dashed(Id::thresholds) + ": " + in_quotes(name) + " is given twice: give each threshold once";
        seen.push_back(name);
        read.*known->field = v;
        at = comma + 1;
    }
    const WorldThresholds& t = read;
    if (!(t.deep_water <= t.water && t.water <= t.shore && t.shore <= t.rock && t.rock <= t.snow))
        return dashed(Id::thresholds) + ": the elevations must rise: deep-water <= water <= shore <= rock <= snow";
    if (!(t.meadow <= t.forest)) return dashed(Id::thresholds) + ": meadow must be at most forest";
    s.thresholds = read;
    return std::nullopt;
}

json write_thresholds(const RenderSettings& s) {
    if (!s.world) return json();
    std::string out;
    for (const ThresholdName& t : threshold_names) {
        char number[32];
        const auto [end, error] = std::to_chars(number, number + sizeof number, s.world_shape.thresholds.*t.field);
        out += (out.empty() ? "" : ",") + std::string(t.name) + "=" + std::string(number, end);
    }
    return out;
}

// The rows in the order --help lists them and a command line applies them.
// A row's reader and writer take its part, so a row cannot set a field of
// another part than the one it declares.
class Table {
public:
    template <class Part>
    RunOption& add(Id id, const char* name, SettingType type, const char* group, const char* value_name,
                   std::string help, Read<Part> read, std::type_identity_t<Write<Part>> written = nullptr,
                   unsigned drawn_in = drawn_nowhere) {
        // Only the tile's own options can be part of a tile's record.
        assert(of_tile<Part> || drawn_in == drawn_nowhere);
        RunOption row{id, name, type,     group, value_name, std::move(help), nullptr, PartInfo<Part>::part, {},
                      {}, {},   drawn_in, {},    {}};
        if (read) row.read = [read](RenderSettings& s, const std::string& v) { return read(part_of<Part>(s), v); };
        if (written) {
            row.written = [written](const RenderSettings& s) { return written(s); };
            if constexpr (of_tile<Part>) row.written_tile = written;
        }
        rows.push_back(std::move(row));
        return rows.back();
    }
    std::vector<RunOption> rows;
};

constexpr unsigned every_block = drawn_tile | drawn_set;

std::vector<RunOption> declare() {
    Table t;
    t.add<RunRequest>(Id::settings, "settings", SettingType::text, "General", "FILE",
                      "read settings from a JSON file of the same names (options given on the command line win)",
                      nullptr);
    t.add<TileChoice>(
        Id::kind, "kind", SettingType::text, "General", "KIND", kinds_choice() + " (default house)",
        [](TileChoice& s, const std::string& v) -> Problem {
            const TileKindRow* kind = kind_named(v);
            if (!kind) return not_a(Id::kind, v, "one of: " + kind_names());
            s.kind = kind->kind;
            return std::nullopt;
        },
        [](const TileRequest& s) -> json { return kind_row(s.kind).name; }, every_block);
    t.add<TileDrawing>(
        Id::iso_width, "iso-width", SettingType::whole_number, "General", "WIDTH",
        "tile width, any even number from " + text(narrowest_tile) + " to " + text(widest_tile) + " (default 100)",
        [](TileDrawing& s, const std::string& v) -> Problem {
            long long number = 0;
            if (!read_whole_number(v, number) || number < narrowest_tile || number > widest_tile || number % 2 != 0)
                return not_a(Id::iso_width, v,
                             "an even width from " + text(narrowest_tile) + " to " + text(widest_tile));
            s.iso_width = static_cast<int>(number);
            return std::nullopt;
        },
        [](const TileRequest& s) -> json { return s.iso_width; });
    t.add<BatchRequest>(
        Id::count, "count", SettingType::whole_number, "General", "N",
        "number of tiles, 1 to " + text(most_tiles) + " (default 1)",
        [](BatchRequest& s, const std::string& v) {
            return read_number<Id::count, &RenderSettings::count, 1, most_tiles>(
                s, v, "a number of tiles from 1 to " + text(most_tiles));
        },
        [](const RenderSettings& s) -> json { return s.count; });
    t.add<TileDrawing>(
        Id::seed, "seed", SettingType::whole_number, "General", "SEED", "seed of the run (default 1)",
        [](TileDrawing& s, const std::string& v) { return read_seed(Id::seed, v, s.seed); },
        [](const TileRequest& s) -> json { return s.tile_stream ? json() : json(s.seed); }, drawn_set);
    t.add<TileChoice>(
         Id::tile_seed, "tile-seed", SettingType::whole_number, "General", "SEED",
         "draw one tile from this stream, as a manifest's tile seed (a tile's \"drawn\" block in a manifest is a "
         "settings file that draws it again)",
         [](TileChoice& s, const std::string& v) {
             std::uint64_t seed = 0;
             Problem problem = read_seed(Id::tile_seed, v, seed);
             if (!problem) s.tile_stream = seed;
             return problem;
         },
         [](const TileRequest& s) -> json { return s.tile_stream ? json(*s.tile_stream) : json(); })
        .excludes = {{Id::seed, "--tile-seed and --seed both choose the tiles' streams: give one of them"}};
    t.add<RunRequest>(
        Id::jobs, "jobs", SettingType::whole_number, "General", "N",
        "tiles drawn at once (default: the number of cores)", [](RunRequest& s, const std::string& v) -> Problem {
            long long number = 0;
            if (!read_whole_number(v, number) || number < 1 || number > most_jobs())
                return not_a(Id::jobs, v, "a number of jobs from 1 to " + text(most_jobs()) + " (four a core)");
            s.jobs = static_cast<int>(number);
            return std::nullopt;
        });
    t.add(Id::shard, "shard", SettingType::text, "General", "K/N",
          "draw only shard K (from 0) of N: its contiguous part of the run's indices, with the files and bytes they "
          "have in the whole run, listed in DIR/manifest.K-of-N.json; 'brannoc-render merge DIR' joins the shards' "
          "manifests (a world: chunk K of a grid of N chunk maps, world_K.tmx, which merge joins into world.world)",
          read_shard)
        .excludes = {{Id::sheet, "--shard splits a run of one file a tile; a sheet is drawn whole: give one of them"},
                     {Id::tile_seed, "--tile-seed draws one tile, which is not split: leave out --shard"}};
    t.add(Id::out, "out", SettingType::text, "Output", "DIR",
          "folder for the files, made if missing (default: the current folder)", read_name<&RenderSettings::out>)
        .excludes = {{Id::sheet, "--out writes one file a tile and --sheet one sheet: give one of them"}};
    t.add<TileDrawing>(
        Id::textures, "textures", SettingType::text, "General", "DIR",
        "draw with your own building_sheet.png, ground_sheet.png and boulder_sheet.png from DIR, of the built-in "
        "sheets' sizes and grids (docs/artwork.md)",
        [](TileDrawing& s, const std::string& v) -> Problem {
            // Recorded in manifests, which must work from any folder.
            s.texture_folder = std::filesystem::absolute(v).lexically_normal().string();
            return std::nullopt;
        },
        [](const TileRequest& s) -> json { return s.texture_folder.empty() ? json() : json(s.texture_folder); },
        every_block);
    t.add<TileImage>(
        Id::format, "format", SettingType::text, "Output", "FORMAT",
        "png or bmp (default png); BMP as the window writes it",
        [](TileImage& s, const std::string& v) -> Problem {
            if (v != "png" && v != "bmp") return not_a(Id::format, v, "png or bmp");
            s.png = v == "png";
            return std::nullopt;
        },
        [](const TileRequest& s) -> json { return s.png ? "png" : "bmp"; }, every_block);
    t.add(Id::transparent, "transparent", SettingType::flag, "Output", nullptr,
          "RGBA PNGs, alpha 0 exactly where nothing was painted",
          read_switch<Id::transparent, &RenderSettings::transparent>, write_switch<&RenderSettings::transparent>,
          every_block);
    t.add(Id::trim, "trim", SettingType::flag, "Output", nullptr,
          "crop each tile to what it paints; the manifest gives the anchor",
          read_switch<Id::trim, &RenderSettings::trim>, write_switch<&RenderSettings::trim>, every_block)
        .excludes = {{Id::sheet,
                      "--trim crops the files of one tile each; a sheet's cells hold whole tiles: give one "
                      "of them"}};
    t.add(Id::quiet, "quiet", SettingType::flag, "Output", nullptr, "no progress bar and no summary",
          read_switch<Id::quiet, &RenderSettings::quiet>);
    t.add(Id::normals, "normals", SettingType::flag, "Lighting maps", nullptr,
          "also write NAME_n.png, the normal map: r, g, b = 127.5 (n + 1), X right, Y up, Z to the viewer, alpha "
          "the image's",
          read_switch<Id::normals, &RenderSettings::normals>, write_if_set<&RenderSettings::normals>);
    t.add(Id::heights, "heights", SettingType::flag, "Lighting maps", nullptr,
          "also write NAME_h.png: 16-bit grey, each pixel's height above the ground in pixels",
          read_switch<Id::heights, &RenderSettings::heights>, write_if_set<&RenderSettings::heights>);
    t.add(Id::lit, "lit", SettingType::text, "Lighting maps", "AZIMUTH,ELEVATION",
          "also write NAME_lit.png, the tile lit through its normals by one light from AZIMUTH degrees (0 right, 90 "
          "top, 180 left) and ELEVATION degrees above the ground",
          read_light, write_light);
    t.add(Id::albedo, "albedo", SettingType::flag, "Lighting maps", nullptr,
          "also write NAME_a.png, the colour with the painted light taken out, for an engine to light (--lit then "
          "lights it)",
          read_switch<Id::albedo, &RenderSettings::albedo>, write_if_set<&RenderSettings::albedo>);
    t.add(Id::sheet, "sheet", SettingType::text, "Sheets", "FILE",
          "lay the tiles out on one sheet (PNG or BMP by its name) instead of one file each, with a Tiled tileset "
          "(.tsx) and a manifest (.json) beside it",
          read_name<&RenderSettings::sheet>);
    t.add(Id::columns, "columns", SettingType::whole_number, "Sheets", "N",
          "tiles across the sheet (default: about square)", read_sheet_number<Id::columns, &RenderSettings::columns>,
          write_if_set<&RenderSettings::columns>)
        .needs = {{Id::sheet, "--columns lays out a sheet: give --sheet too"}};
    t.add(Id::spacing, "spacing", SettingType::whole_number, "Sheets", "N", "pixels between cells (default 0)",
          read_sheet_number<Id::spacing, &RenderSettings::spacing>, write_if_set<&RenderSettings::spacing>)
        .needs = {{Id::sheet, "--spacing lays out a sheet: give --sheet too"}};
    t.add(Id::margin, "margin", SettingType::whole_number, "Sheets", "N",
          "pixels around the cells (default 0; at the right and bottom at most a cell and its spacing less one, so "
          "Tiled and Godot count the sheet's own columns and rows)",
          read_sheet_number<Id::margin, &RenderSettings::margin>, write_if_set<&RenderSettings::margin>)
        .needs = {{Id::sheet, "--margin lays out a sheet: give --sheet too"}};
    t.add(Id::cell_outlines, "cell-frames", SettingType::flag, "Sheets", nullptr,
          "outline each cell in the window's purple", read_switch<Id::cell_outlines, &RenderSettings::cell_outlines>,
          write_if_set<&RenderSettings::cell_outlines>)
        .needs = {{Id::sheet, "--cell-frames outlines a sheet's cells: give --sheet too"}};
    RunOption& frames = t.add<TileDrawing>(
        Id::frames, "frames", SettingType::whole_number, "Animation", "N",
        "moving water: draw each tile as N frames of one seamless loop, 2 to " + text(most_frames) +
            " (default 1, still); for water, and terrain with --pool or --swamp. Sheets put a tile's frames side by "
            "side in its row and declare the animation to Tiled and Godot; one file a tile becomes a strip of its "
            "frames",
        [](TileDrawing& s, const std::string& v) -> Problem {
            long long number = 0;
            bool on = false;
            if (!read_whole_number(v, number) || number < 1 || number > most_frames)
                return *not_a(Id::frames, v, "a number of frames from 1 to " + text(most_frames)) +
                       (read_flag(v, on) ? " (the purple cell outlines are --cell-frames)" : "");
            s.loop_frames = static_cast<int>(number);
            return std::nullopt;
        },
        [](const TileRequest& s) -> json { return s.loop_frames > 1 ? json(s.loop_frames) : json(); }, every_block);
    // A bare --frames was once the cell outlines' flag.
    frames.when_bare = "no number of frames given (the purple cell outlines are --cell-frames)";
    t.add<TileDrawing>(
         Id::frame_ms, "frame-ms", SettingType::whole_number, "Animation", "MS",
         "how long each frame shows, in milliseconds (default 120)",
         [](TileDrawing& s, const std::string& v) {
             return read_number<Id::frame_ms, &RenderSettings::frame_ms, fewest_frame_ms, most_frame_ms>(
                 s, v, "a time from " + text(fewest_frame_ms) + " to " + text(most_frame_ms) + " milliseconds");
         },
         [](const TileRequest& s) -> json { return s.loop_frames > 1 ? json(s.frame_ms) : json(); }, every_block)
        .needs = {{Id::frames, "--frame-ms times the frames of moving water: give --frames too"}};
    t.add<TileDrawing>(
         Id::flow, "flow", SettingType::number, "Animation", "ANGLE",
         "moving water drifts towards ANGLE degrees (0 right, 90 up the screen, 180 left) instead of swaying in "
         "place, a whole texture cell or two a loop along the tile grid's nearest direction",
         [](TileDrawing& s, const std::string& v) -> Problem {
             double angle = 0;
             const auto [at, error] = std::from_chars(v.data(), v.data() + v.size(), angle);
             if (v.empty() || error != std::errc() || at != v.data() + v.size() || !std::isfinite(angle))
                 return not_a(Id::flow, v, "an angle in degrees (for instance 30)");
             s.flow = angle;
             return std::nullopt;
         },
         [](const TileRequest& s) -> json { return s.flow ? json(*s.flow) : json(); }, every_block)
        .needs = {{Id::frames, "--flow drifts moving water: give --frames too"}};
    t.add(Id::gif, "gif", SettingType::flag, "Animation", nullptr,
          "also write an animated GIF to play: of each tile, or of a sample map of the sheet",
          read_switch<Id::gif, &RenderSettings::gif>, write_if_set<&RenderSettings::gif>);
    const char* describes_a_sheet = "--tmx, --godot and --godot3 describe a sheet: give --sheet too";
    t.add(Id::tmx, "tmx", SettingType::text, "Sheets", "FILE", "also write a small isometric Tiled map of the tiles",
          read_name<&RenderSettings::tmx>)
        .needs = {{Id::sheet, describes_a_sheet}};
    t.add(Id::godot, "godot", SettingType::text, "Sheets", "FILE",
          "also write a Godot 4 TileSet resource (.tres) over the sheet", read_name<&RenderSettings::godot>)
        .needs = {{Id::sheet, describes_a_sheet}};
    t.add(Id::godot3, "godot3", SettingType::text, "Sheets", "FILE",
          "also write a Godot 3 TileSet resource (.tres) over the sheet, for an isometric TileMap",
          read_name<&RenderSettings::godot3>)
        .needs = {{Id::sheet, describes_a_sheet}};
    t.add<TileChoice>(
        Id::terrains, "terrains", SettingType::text, "Transition", "A,B",
        "the two terrains A,B of a transition set, or one terrain A alone for a fill set of its variants, each " +
            terrain_ranges() +
            "; a slope set's ground G, or G,R with --cliff (R the cliff face's rock), or A,B with --over (B laid "
            "over A), and W last for a --channel's water",
        [](TileChoice& s, const std::string& v) -> Problem {
            Problem problem = s.kind == TileKind::slope ? read_slope_terrains(s, v) : read_transition_terrains(s, v);
            if (problem) return dashed(Id::terrains) + ": " + *problem;
            return std::nullopt;
        },
        [](const TileRequest& s) -> json {
            if (!kind_row(s.kind).corner_set) return json();
            if (s.kind == TileKind::slope) {
                const std::string water = s.channel_water ? "," + terrain_name(*s.channel_water) : "";
                if (!s.cliff && !s.over) return terrain_name(s.terrain_a) + water;
                return terrain_name(s.terrain_a) + "," + terrain_name(s.terrain_b) + water;
            }
            return s.fill_set ? terrain_name(s.terrain_a) : terrain_name(s.terrain_a) + "," + terrain_name(s.terrain_b);
        },
        drawn_set);
    t.add<TileDrawing>(
        Id::variants, "variants", SettingType::whole_number, "Transition", "N",
        "tiles of each corner combination, alike along their edges (default 1; a world's 4)",
        [](TileDrawing& s, const std::string& v) {
            return read_number<Id::variants, &RenderSettings::variants, 1, most_variants>(
                s, v, "a number of variants from 1 to " + text(most_variants));
        },
        [](const TileRequest& s) -> json { return kind_row(s.kind).corner_set ? json(s.variants) : json(); },
        drawn_set)
        // Every tile of a world is of a set, so a world always says how many variants.
        .written = [](const RenderSettings& s) -> json {
        return s.world || kind_row(s.kind).corner_set ? json(s.variants) : json();
    };
    t.add<TileChoice>(
         Id::set_tile, "set-tile", SettingType::whole_number, "Transition", "N",
         "draw only tile N of the set (its corner mask + 16 x its variant; a slope set's over tiles: high corners + "
         "16 x B's corners + 256 x variant), as a tile's \"drawn\" block in a manifest does",
         [](TileChoice& s, const std::string& v) -> Problem {
             constexpr long long tiles = static_cast<long long>(corner_masks) * corner_masks * most_variants;
             long long number = -1;
             if (!read_whole_number(v, number) || number < 0 || number >= tiles)
                 return not_a(Id::set_tile, v, "a tile of a set, from 0 to " + text(tiles - 1));
             s.set_tile = static_cast<int>(number);
             return std::nullopt;
         },
         [](const TileRequest& s) -> json { return s.set_tile ? json(*s.set_tile) : json(); })
        .excludes = {{Id::sheet, "--set-tile draws one tile of a set as one file: leave out --sheet"}};
    t.add<TileChoice>(
        Id::step, "step", SettingType::whole_number, "Transition", "PX",
        "how many pixels a slope set's high corners rise: even, from 2 to half the diamond's height (default a "
        "quarter of it, 8 at width 64)",
        [](TileChoice& s, const std::string& v) {
            return read_number<Id::step, &RenderSettings::slope_step, 2, widest_tile / 4>(
                s, v, "an even number of pixels from 2 to half the diamond's height");
        },
        [](const TileRequest& s) -> json { return s.kind == TileKind::slope ? json(run_slope_step(s)) : json(); },
        drawn_set);
    t.add(Id::cliff, "cliff", SettingType::flag, "Transition", nullptr,
          "a slope set of cliffs: high and low ground parted by a winding rock face one step tall (--terrains "
          "GROUND,ROCK)",
          read_switch<Id::cliff, &RenderSettings::cliff>, write_if_set<&RenderSettings::cliff>, drawn_set);
    t.add(Id::over, "over", SettingType::flag, "Transition", nullptr,
          "over tiles, for stacking terrains: each paints B's side and its edges only, A's side transparent and the "
          "foam, shallows and shadows on it partial alpha, so it shows the transition over A or any terrain below "
          "(RGBA PNG); with --kind slope, B's ground laid over A's on the slope or cliff",
          read_switch<Id::over, &RenderSettings::over>, write_if_set<&RenderSettings::over>, drawn_set)
        .excludes = {{Id::gif,
                      "--gif cannot show over tiles: a GIF has one transparent colour and no partial alpha, so the "
                      "foam and shallows would be lost; leave out --gif (the PNG sheet and strips hold the frames)"}};
    t.add<TileChoice>(
        Id::channel, "channel", SettingType::text, "Transition", "IN>OUT",
        "a river's channel through every tile of the set, by the edges its water enters by and the edge it leaves "
        "by (ne, se, sw, nw, each with a width :1 to :" +
            text(channel_widths) +
            "), such as nw,ne:2>se:2: a transition set's water A through its land B (with --over only the channel "
            "and its banks), a slope set's rapids, a cliff set's falls",
        [](TileChoice& s, const std::string& v) -> Problem {
            if (Problem problem = read_channel(v, s.channel)) return dashed(Id::channel) + ": " + *problem;
            return std::nullopt;
        },
        [](const TileRequest& s) -> json { return s.channel.any() ? json(channel_text(s.channel)) : json(); },
        drawn_set);
    t.add<TileChoice>(
        Id::road, "road", SettingType::text, "Transition", "EDGES[:bridge]",
        "a road's track through every tile of the set, by the edges it leaves the cell by (ne, se, sw, nw), such "
        "as ne,sw or se (a road's end): B's ground worn into a track (with --over the track alone), on a "
        "transition or slope set; ne,sw:bridge or se,nw:bridge, a wooden bridge over a transition set's water",
        [](TileChoice& s, const std::string& v) -> Problem {
            if (Problem problem = read_road(v, s.road)) return dashed(Id::road) + ": " + *problem;
            return std::nullopt;
        },
        [](const TileRequest& s) -> json { return s.road.any() ? json(road_text(s.road)) : json(); }, drawn_set);
    t.add(Id::size, "size", SettingType::text, "World", "WxH",
          "the world's cells across and down, each from 1 to " + text(most_world_cells) + " (default 64x64)",
          read_world_size, [](const RenderSettings& s) -> json {
              return s.world ? json(text(s.world_shape.width) + "x" + text(s.world_shape.height)) : json();
          });
    t.add<WorldShape>(
        Id::levels, "levels", SettingType::whole_number, "World", "N",
        "levels the land rises to above the water, 0 for a flat world, up to " + text(most_world_levels) +
            " (default 3): slopes where it rises gently, cliffs where it rises fast",
        [](WorldShape& s, const std::string& v) -> Problem {
            long long number = 0;
            if (!read_whole_number(v, number) || number < 0 || number > most_world_levels)
                return not_a(Id::levels, v, "a number of levels from 0 to " + text(most_world_levels));
            s.levels = static_cast<int>(number);
            return std::nullopt;
        },
        [](const RenderSettings& s) -> json { return s.world ? json(s.world_shape.levels) : json(); });
    t.add<WorldShape>(
        Id::palette, "palette", SettingType::text, "World", "NAME",
        "the built-in textures the world's terrains show: " + palette_names() + " (default " +
            world_palettes().front().name + ")",
        [](WorldShape& s, const std::string& v) -> Problem {
            if (!world_palette_named(v)) return not_a(Id::palette, v, "one of: " + palette_names());
            s.palette = v;
            return std::nullopt;
        },
        [](const RenderSettings& s) -> json {
            return s.world ? json(s.world_shape.palette.empty() ? world_palettes().front().name : s.world_shape.palette)
                           : json();
        });
    t.add(Id::thresholds, "thresholds", SettingType::text, "World", "NAME=V,...",
          "where the terrains change, on elevation and moisture from 0 to 1: " + threshold_help(), read_thresholds,
          write_thresholds);
    t.add<WorldShape>(
        Id::rivers, "rivers", SettingType::whole_number, "World", "N",
        "the most river systems a 64 x 64 area of the world holds (at least one in a smaller world), the largest "
        "that reach the sea or a lake, each with its tributaries; 0 for none, up to " +
            text(most_world_rivers) + " (default " + text(WorldShape().rivers) + ")",
        [](WorldShape& s, const std::string& v) {
            return read_number<Id::rivers, &WorldShape::rivers, 0, most_world_rivers>(
                s, v, "a number of rivers from 0 to " + text(most_world_rivers));
        },
        [](const RenderSettings& s) -> json { return s.world ? json(s.world_shape.rivers) : json(); });
    t.add<WorldShape>(
        Id::river_threshold, "river-threshold", SettingType::whole_number, "World", "CELLS",
        "how many cells must drain through a cell before a river rises there, from 2 to " +
            text(most_river_threshold) + " (default " + text(WorldShape().river_threshold) +
            "): lower gives longer rivers and more tributaries",
        [](WorldShape& s, const std::string& v) {
            return read_number<Id::river_threshold, &WorldShape::river_threshold, 2, most_river_threshold>(
                s, v, "a number of cells from 2 to " + text(most_river_threshold));
        },
        [](const RenderSettings& s) -> json {
            return s.world && s.world_shape.rivers > 0 ? json(s.world_shape.river_threshold) : json();
        });
    t.add<WorldShape>(
        Id::settlements, "settlements", SettingType::whole_number, "World", "N",
        "the most settlements a 64 x 64 area of the world holds (at least one in a smaller world): villages of 3 "
        "to 12 houses on flat land by water, each with its street down to the water, joined by roads to the "
        "others of its island; 0 for none (houses stand alone), up to " +
            text(most_world_settlements) + " (default " + text(WorldShape().settlements) + ")",
        [](WorldShape& s, const std::string& v) {
            return read_number<Id::settlements, &WorldShape::settlements, 0, most_world_settlements>(
                s, v, "a number of settlements from 0 to " + text(most_world_settlements));
        },
        [](const RenderSettings& s) -> json {
            return s.world && s.world_shape.settlements > 0 ? json(s.world_shape.settlements) : json();
        });
    t.add(Id::no_picture, "no-picture", SettingType::flag, "World", nullptr,
          "leave out world.png, the render of the map: only the sheets, the Tiled and Godot files and the manifest",
          read_switch<Id::no_picture, &WorldShape::no_picture>,
          [](const RenderSettings& s) -> json { return s.world && s.world_shape.no_picture ? json(true) : json(); });
    return std::move(t.rows);
}
}  // namespace

const std::vector<RunOption>& run_options() {
    static const std::vector<RunOption> options = declare();
    return options;
}
