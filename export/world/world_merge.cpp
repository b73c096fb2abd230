#include "export/world/world_merge.hpp"

#include "canvas/open_folder.hpp"

#include "canvas/content_hash.hpp"
#include "export/formats/godot_chunks.hpp"
#include "export/formats/manifest_reader.hpp"
#include "export/formats/manifest_shape.hpp"
#include "export/formats/world_file.hpp"
#include "export/formats/world_file_names.hpp"
#include "export/run_options.hpp"
#include "export/shown_text.hpp"
#include "generators/world/world_chunks.hpp"

#include <algorithm>
#include <filesystem>
#include <regex>

namespace {
namespace fs = std::filesystem;
using json = nlohmann::json;

bool is_pair(const json& v) { return v.is_array() && v.size() == 2 && is_count(v[0]) && is_count(v[1]); }

// Every key the merge reads, of the type the world run writes.
Problem check_shape(const json& m, const std::string& name) {
    const std::string file = shown(name) + ": ";
    if (!m.contains("chunk")) return shown(name) + " is not a world chunk's manifest (no \"chunk\")";
    if (Problem problem = wrong_key(m, file,
                                    {{"seed", is_count},
                                     {"size", is_pair},
                                     {"tile_size", is_pair},
                                     {"chunk", is_object},
                                     {"settings", is_object},
                                     {"map", is_text},
                                     {"tilesets", is_array},
                                     {"files", is_object},
                                     {"complete", is_flag},
                                     {"stale", is_text, true}}))
        return problem;
    if (Problem problem = wrong_key(m["chunk"], file + "chunk ",
                                    {{"index", is_count},
                                     {"of", is_count},
                                     {"columns", is_count},
                                     {"rows", is_count},
                                     {"x", is_count},
                                     {"y", is_count},
                                     {"width", is_count},
                                     {"height", is_count}}))
        return problem;
    for (const json& tileset : m["tilesets"])
        if (Problem problem = wrong_key(tileset, file + "tilesets ", {{"image", is_text}, {"tileset", is_text}}))
            return problem;
    for (const auto& [listed, written] : m["files"].items())
        if (Problem problem = wrong_key(written, file + "files \"" + shown(listed) + "\" ",
                                        {{"bytes", is_count}, {"fnv1a64", is_text}}))
            return problem;
    return std::nullopt;
}

// The chunk's own claims: finished, in its place of the grid, naming its
// own map and listing its own files.
Problem check_claims(const json& m, const std::string& name, int index) {
    const std::string file = shown(name);
    if (m.contains("stale"))
        return file + " is stale (" + shown(m["stale"].get<std::string>()) + "): draw chunk " +
               std::to_string(index) + " again";
    if (!m["complete"].get<bool>())
        return file + " is of a chunk that did not finish: draw chunk " + std::to_string(index) + " again";
    const json& c = m["chunk"];
    const long long of = c["of"].get<long long>(), w = m["size"][0].get<long long>(),
                    h = m["size"][1].get<long long>();
    if (c["index"].get<long long>() != index) return file + " holds another chunk's manifest (its \"chunk\" \"index\")";
    if (of < 2 || of > 1'000'000 || index >= of || w < 1 || h < 1 || w > 1'000'000 || h > 1'000'000)
        return file + ": \"chunk\" \"of\" or \"size\" names no split of a world";
    const WorldChunk grid = world_chunk(static_cast<int>(w), static_cast<int>(h), index, static_cast<int>(of));
    const auto at = [&](const char* key) { return c[key].get<long long>(); };
    if (grid.columns == 0 || at("columns") != grid.columns || at("rows") != grid.rows || at("x") != grid.x0 ||
        at("y") != grid.y0 || at("width") != grid.width || at("height") != grid.height)
        return file + ": its \"chunk\" is not chunk " + std::to_string(index) + " of the grid of " +
               std::to_string(of) + " chunks of a " + std::to_string(w) + " x " + std::to_string(h) + " world";
    const long long tile_w = m["tile_size"][0].get<long long>(), tile_h = m["tile_size"][1].get<long long>();
    if (tile_w < 2 || tile_w > 1000 || tile_w % 2 != 0 || tile_h != tile_w / 2)
        return file + ": its \"tile_size\" is not a tile's width and height";
    const std::string stem = grid.stem;
    if (m["map"].get<std::string>() != stem + ".tmx")
        return file + ": its \"map\" " + in_quotes(m["map"].get<std::string>()) + " is not " + stem + ".tmx";
    const json& files = m["files"];
    const std::vector<std::string> own = world_file_names(stem);
    for (const auto& [listed, written] : files.items())
        if (std::find(own.begin(), own.end(), listed) == own.end() || listed == world_manifest_name(stem))
            return file + " lists " + in_quotes(listed) + ", which is not a file of chunk " + std::to_string(index);
    std::vector<std::string> needed = {stem + ".tmx", stem + ".tscn", world_godot3_path(stem + ".tscn")};
    if (!m["settings"].value("no-picture", false)) needed.push_back(stem + ".png");
    for (const json& tileset : m["tilesets"])
        for (const char* key : {"image", "tileset"}) needed.push_back(tileset[key].get<std::string>());
    for (const std::string& wanted : needed)
        if (!files.contains(wanted))
            return file + ": its \"files\" leave out " + in_quotes(wanted) + ", so nothing says it is unchanged";
    return std::nullopt;
}

// What makes two chunks parts of one world: everything but their own part.
json world_identity(json m) {
    for (const char* own : {"chunk", "map", "layers", "tile_counts", "tilesets", "object_counts", "objects", "files"})
        m.erase(own);
    m["settings"].erase("shard");
    return m;
}

Problem check_files(const std::string& folder, const std::string& name, const json& files) {
    for (const auto& [file, written] : files.items()) {
        const std::string listed = shown(name) + " lists " + shown(file);
        std::uint64_t size = 0;
        std::string hash;
        if (Problem problem = measure_file((fs::path(folder) / file).string(), size, hash))
            return listed + ", which " + *problem;
        if (size != written["bytes"].get<std::uint64_t>() || hash != written["fnv1a64"].get<std::string>())
            return listed + ", whose content is not what was written (another run replaced it, or it was changed)";
    }
    return std::nullopt;
}

json written_entry(const std::string& bytes) {
    return {{"bytes", bytes.size()}, {"fnv1a64", content_hash_hex(bytes.data(), bytes.size())}};
}
}  // namespace

std::vector<std::string> merged_world_file_names() {
    return {merged_world_file, "world_chunks.tscn", world_godot3_path("world_chunks.tscn"), merged_world_manifest};
}

std::map<int, std::string> world_chunk_manifests(const std::string& folder) {
    static const std::regex name("world_(0|[1-9][0-9]{0,6})\\.json");
    std::map<int, std::string> found;
    std::error_code error;
    for (fs::directory_iterator it(opened_path(folder), error), end; !error && it != end; it.increment(error)) {
        const std::string file = it->path().filename().string();
        std::smatch m;
        if (std::regex_match(file, m, name)) found[std::stoi(m[1].str())] = file;
    }
    return found;
}

WorldMerge merge_world_chunks(const std::string& folder) {
    WorldMerge out;
    const std::map<int, std::string> found = world_chunk_manifests(folder);
    if (found.empty()) return out.problem = "no world chunks (world_K.json) in " + shown_path(folder), out;
    std::vector<WorldChunkMap> chunks;
    nlohmann::ordered_json listed_chunks = nlohmann::ordered_json::array();
    json identity, first;
    int count = 0;
    for (const auto& [index, name] : found) {
        Problem problem;
        const std::string path = (fs::path(folder) / name).string();
        const json m = read_manifest(path, name, problem, largest_world_manifest_file);
        if (problem) return out.problem = problem, out;
        if ((problem = check_shape(m, name)) || (problem = check_claims(m, name, index)))
            return out.problem = problem, out;
        const json& c = m["chunk"];
        if (chunks.empty()) {
            identity = world_identity(m);
            first = m;
            count = c["of"].get<int>();
        } else if (world_identity(m) != identity || c["of"].get<int>() != count) {
            return out.problem = shown(name) + " is a chunk of another world (its seed, size, split or settings "
                                               "differ from " +
                                 shown(found.begin()->second) + "'s)",
                   out;
        }
        if ((problem = check_files(folder, name, m["files"]))) return out.problem = problem, out;
        std::uint64_t bytes = 0;
        std::string hash;
        if ((problem = measure_file(path, bytes, hash))) return out.problem = shown(name) + " " + *problem, out;
        chunks.push_back({m["map"].get<std::string>(), c["x"].get<int>(), c["y"].get<int>(), c["width"].get<int>(),
                          c["height"].get<int>()});
        listed_chunks.push_back({{"index", index},
                                 {"manifest", name},
                                 {"bytes", bytes},
                                 {"fnv1a64", hash},
                                 {"map", chunks.back().file},
                                 {"x", chunks.back().x0},
                                 {"y", chunks.back().y0},
                                 {"width", chunks.back().width},
                                 {"height", chunks.back().height}});
    }
    for (int k = 0; k < count; ++k)
        if (!found.count(k))
            return out.problem = "chunk " + std::to_string(k) + " of " + std::to_string(count) + " is missing (world_" +
                                 std::to_string(k) + ".json)",
                   out;
    if (static_cast<int>(found.size()) != count)
        return out.problem = "the folder holds chunks of more than one split of the world", out;
    const int world_width = first["size"][0].get<int>(), world_height = first["size"][1].get<int>();
    const int tile_width = first["tile_size"][0].get<int>(), tile_height = first["tile_size"][1].get<int>();
    if (Problem problem = tiled_world_problem(chunks, world_width, world_height, tile_width, tile_height))
        return out.problem = problem, out;
    std::vector<WorldChunkMap> scenes = chunks, scenes3 = chunks;
    for (std::size_t k = 0; k < chunks.size(); ++k) {
        const std::string stem = fs::path(chunks[k].file).stem().string();
        scenes[k].file = stem + ".tscn";
        scenes3[k].file = stem + ".tscn";  // beside the chunks' scene in Godot 3's folder
    }
    const std::vector<std::string> names = merged_world_file_names();
    out.files = {{names[0], tiled_world(chunks, world_height, tile_width, tile_height)},
                 {names[1], godot_chunks_scene(scenes, tile_width, tile_height)},
                 {names[2], godot3_chunks_scene(scenes3, tile_width, tile_height)}};
    nlohmann::ordered_json manifest = {{"generator", "brannoc-render merge"},
                                       {"seed", first["seed"]},
                                       {"size", first["size"]},
                                       {"tile_size", first["tile_size"]},
                                       {"settings", identity["settings"]},
                                       {"chunks", listed_chunks}};
    nlohmann::ordered_json written = nlohmann::ordered_json::object();
    for (const auto& [name, bytes] : out.files) written[name] = written_entry(bytes);
    manifest["files"] = written;
    manifest["complete"] = false;
    out.manifest_not_complete = manifest.dump(1) + "\n";
    manifest["complete"] = true;
    out.files.emplace_back(merged_world_manifest, manifest.dump(1) + "\n");
    out.chunks = count;
    return out;
}
