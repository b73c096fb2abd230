#include "export/formats/manifest.hpp"

#include "export/control_options.hpp"
#include "export/run_options.hpp"
#include "export/formats/lighting_map_files.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int manifest_version = 1;

// A transition tile's corners as [top, right, bottom, left], 0 for A, 1 for B.
nlohmann::json corner_list(int mask) {
    return {corner_terrain(mask, corner_top), corner_terrain(mask, corner_right), corner_terrain(mask, corner_bottom),
            corner_terrain(mask, corner_left)};
}

// The lighting maps written beside `image`, by the names they were written under.
void add_map_files(nlohmann::json& fields, const RenderSettings& settings, const std::string& image) {
    if (settings.normals) fields["normals"] = lighting_map_file_name(image, "_n.png");
    if (settings.heights) fields["heights"] = lighting_map_file_name(image, "_h.png");
    if (settings.lit) fields["lit"] = lighting_map_file_name(image, "_lit.png");
    if (settings.albedo) fields["albedo"] = lighting_map_file_name(image, "_a.png");
}

// The head object, left open for the tiles.
std::string head_text(const RenderSettings& settings, nlohmann::json head) {
    head["version"] = manifest_version;
    head["generator"] = "brannoc-render";
    head["kind"] = kind_row(settings.kind).name;
    // Where the colour's own light comes from, to match a scene's light to it.
    const PaintedLight& light = kind_row(settings.kind).painted_light;
    head["painted_light"] =
        light.painted ? nlohmann::json{{"azimuth", light.azimuth}, {"elevation", light.elevation}} : nlohmann::json();
    head["settings"] = settings_block(settings);
    return manifest_head_text(head);
}

// The tile's own fields, then the settings it was drawn with and the
// textures it shows, kept as text.
std::string fields_text(const nlohmann::json& fields, const std::string& drawn, const std::string* textures,
                        bool first) {
    std::string tile = fields.dump();
    tile.pop_back();  // the closing brace; the settings follow
    tile += ",\"drawn\":" + drawn;
    if (textures) tile += ",\"textures\":" + *textures;
    return (first ? "\n  " : ",\n  ") + tile + "}";
}

std::string entry_text(nlohmann::json fields, const TileRecord& r, bool first) {
    if (r.corners >= 0) fields["corners"] = corner_list(r.corners);
    return fields_text(fields, r.drawn, r.textures.empty() ? nullptr : &r.textures, first);
}
}  // namespace

namespace {
// A tile of moving water is a strip of frames: the file is that many frames
// wide; size and anchor are each frame's, the anchor in frame 0.
void add_frames(nlohmann::json& fields, const RenderSettings& settings, const TileRecord& r) {
    if (settings.loop_frames <= 1) return;
    fields["width"] = r.width * settings.loop_frames;
    fields["frames"] = settings.loop_frames;
    fields["frame_width"] = r.width;
    fields["frame_height"] = r.height;
    fields["frame_ms"] = settings.frame_ms;
}
}  // namespace

TileRecord record_of(const RenderedTile& tile, int index) {
    return {index,     tile.image.width(), tile.image.height(),  tile.left,   tile.top, tile.anchor_x, tile.anchor_y,
            tile.seed, tile.drawn.dump(),  tile.textures.dump(), tile.corners};
}

std::string tile_file_name(const RenderSettings& settings, int index) {
    int digits = 4;
    for (int n = settings.count - 1; n >= 10000; n /= 10) ++digits;
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", digits, index);
    return std::string(kind_row(settings.kind).name) + "-" + number + (settings.png ? ".png" : ".bmp");
}

std::string tile_gif_name(const RenderSettings& settings, int index) {
    std::string name = tile_file_name(settings, index);
    return name.substr(0, name.rfind('.')) + ".gif";
}

std::string run_manifest_head(const RenderSettings& settings) {
    nlohmann::json head = nlohmann::json::object();
    // A shard's manifest says which part of the run it lists, for merging.
    if (settings.shards > 1)
        head["shard"] = {{"index", settings.shard},
                         {"count", settings.shards},
                         {"first", shard_first(settings)},
                         {"end", shard_end(settings)}};
    return head_text(settings, head);
}

std::string run_manifest_entry(const RenderSettings& settings, const TileRecord& r, bool first) {
    nlohmann::json fields = {{"index", r.index},
                             {"file", tile_file_name(settings, r.index)},
                             {"seed", r.seed},
                             {"width", r.width},
                             {"height", r.height},
                             {"canvas_offset", {r.left, r.top}},
                             {"anchor", {r.anchor_x, r.anchor_y}}};
    add_frames(fields, settings, r);
    if (settings.gif) fields["gif"] = tile_gif_name(settings, r.index);
    add_map_files(fields, settings, tile_file_name(settings, r.index));
    if (!r.files.empty()) {
        nlohmann::json files = nlohmann::json::object();
        for (const WrittenFile& f : r.files) files[f.name] = {{"bytes", f.bytes}, {"fnv1a64", f.hash}};
        fields["files"] = std::move(files);
    }
    return entry_text(fields, r, first);
}

std::string run_manifest_path(const RenderSettings& settings) {
    if (settings.shards <= 1) return settings.out + "/manifest.json";
    return settings.out + "/manifest." + std::to_string(settings.shard) + "-of-" + std::to_string(settings.shards) +
           ".json";
}

std::string manifest_tail(bool complete) {
    return std::string("\n ],\n \"complete\": ") + (complete ? "true" : "false") + "\n}\n";
}

std::string stale_manifest_tail(const std::string& why) {
    return std::string("\n ],\n \"complete\": false,\n \"stale\": ") + nlohmann::json(why).dump() + "\n}\n";
}

std::string manifest_head_text(const nlohmann::json& head) {
    std::string text = head.dump(1);
    text.resize(text.rfind('}'));  // reopen the object
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text + ",\n \"tiles\": [";
}

std::string manifest_entry_text(nlohmann::json tile, bool first) {
    const std::string drawn = tile.contains("drawn") ? tile["drawn"].dump() : "null";
    std::string textures;
    const bool has_textures = tile.contains("textures");
    if (has_textures) textures = tile["textures"].dump();
    tile.erase("drawn");
    tile.erase("textures");
    return fields_text(tile, drawn, has_textures ? &textures : nullptr, first);
}

std::string tile_family(const std::string& name) {
    const std::size_t dash = name.rfind('-'), dot = name.rfind('.');
    if (dash == std::string::npos || dot == std::string::npos || dot < dash + 2) return {};
    for (std::size_t k = dash + 1; k < dot; ++k)
        if (name[k] < '0' || name[k] > '9') return {};
    return name.substr(0, dash) + "-*";
}

std::string run_manifest(const RenderSettings& settings, const std::vector<TileRecord>& records, bool complete) {
    std::string text = run_manifest_head(settings);
    for (std::size_t k = 0; k < records.size(); ++k) text += run_manifest_entry(settings, records[k], k == 0);
    return text + manifest_tail(complete);
}

std::string sheet_manifest(const RenderSettings& settings, const std::vector<TileRecord>& records,
                           const SheetLayout& layout, const std::string& image) {
    nlohmann::json sheet = {{"image", image},
                            {"width", layout.width},
                            {"height", layout.height},
                            {"columns", layout.columns},
                            {"rows", layout.rows},
                            {"cell_width", layout.cell_width},
                            {"cell_height", layout.cell_height},
                            {"spacing", layout.spacing},
                            {"margin", layout.margin},
                            {"anchor", {layout.anchor_x, layout.anchor_y}},
                            {"diamond", {layout.diamond_width, layout.diamond_height}}};
    add_map_files(sheet, settings, image);
    nlohmann::json head = {{"sheet", sheet}};
    // Moving water: tile k's frames fill the cells from k x frames along its row.
    const int frames = std::max(1, settings.loop_frames);
    if (frames > 1)
        head["sheet"]["animation"] = {{"frames", frames},
                                      {"frame_ms", settings.frame_ms},
                                      {"layout", "each tile's frames left to right in its row, from its cell"}};
    std::string text = head_text(settings, head);
    for (std::size_t k = 0; k < records.size(); ++k) {
        const TileRecord& r = records[k];
        const int cell = r.index * frames;
        text += entry_text({{"index", r.index},
                            {"cell", {cell % layout.columns, cell / layout.columns}},
                            {"seed", r.seed},
                            {"anchor", {layout.anchor_x, layout.anchor_y}}},
                           r, k == 0);
    }
    return text + manifest_tail(true);
}
