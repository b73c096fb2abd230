#include "export/world/world_merge.hpp"

#include "export/formats/manifest_reader.hpp"
#include "export/shown_text.hpp"
#include "export/formats/godot_chunks.hpp"
#include "export/formats/world_file.hpp"
#include "export/world/world_folders.hpp"

#include <filesystem>
#include <map>
#include <regex>

namespace {
namespace fs = std::filesystem;
using json = nlohmann::json;

// world_K.json, by K.
std::map<int, std::string> chunk_manifests(const std::string& folder) {
    static const std::regex name("world_(0|[1-9][0-9]{0,6})\\.json");
    std::map<int, std::string> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string file = it->path().filename().string();
        std::smatch m;
        if (std::regex_match(file, m, name)) found[std::stoi(m[1].str())] = file;
    }
    return found;
}

bool is_whole(const json& v) { return v.is_number_integer() || v.is_number_unsigned(); }

// The chunk's place and the world's, checked for shape.
Problem read_chunk(const json& m, const std::string& name) {
    const json* chunk = m.contains("chunk") ? &m["chunk"] : nullptr;
    if (!chunk || !chunk->is_object()) return shown(name) + " is not a world chunk's manifest (no \"chunk\")";
    for (const char* key : {"index", "of", "x", "y", "width", "height"})
        if (!chunk->contains(key) || !is_whole((*chunk)[key]))
            return shown(name) + ": \"chunk\" has no whole number \"" + key + "\"";
    if (!m.contains("size") || !m["size"].is_array() || m["size"].size() != 2 || !is_whole(m["size"][0]) ||
        !is_whole(m["size"][1]))
        return shown(name) + ": \"size\" is not [width, height]";
    if (!m.contains("tile_size") || !m["tile_size"].is_array() || m["tile_size"].size() != 2 ||
        !is_whole(m["tile_size"][0]) || !is_whole(m["tile_size"][1]))
        return shown(name) + ": \"tile_size\" is not [width, height]";
    if (!m.contains("map") || !m["map"].is_string()) return shown(name) + ": \"map\" names no file";
    if (!m.contains("files") || !m["files"].is_object()) return shown(name) + ": \"files\" lists nothing";
    if (m.value("complete", false) != true) return shown(name) + " is of a chunk that did not finish";
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
        // A plain name, or one in Godot 3's folder.
        const std::string godot3 = world_godot3_path("");
        const std::string name = file.rfind(godot3, 0) == 0 ? file.substr(godot3.size()) : file;
        if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
            return listed + ", which is not a file of the folder";
        if (!written.is_object() || !written.contains("bytes") || !written.contains("fnv1a64") ||
            !is_whole(written["bytes"]) || !written["fnv1a64"].is_string())
            return listed + " without its size and hash";
        std::uint64_t size = 0;
        std::string hash;
        if (Problem problem = measure_file((fs::path(folder) / file).string(), size, hash))
            return listed + ", which " + *problem;
        if (size != written["bytes"].get<std::uint64_t>() || hash != written["fnv1a64"].get<std::string>())
            return listed + ", whose content is not what was written (another run replaced it, or it was changed)";
    }
    return std::nullopt;
}
}  // namespace

bool has_world_chunks(const std::string& folder) { return !chunk_manifests(folder).empty(); }

WorldMerge merge_world_chunks(const std::string& folder) {
    WorldMerge out;
    const std::map<int, std::string> found = chunk_manifests(folder);
    if (found.empty()) return out.problem = "no world chunks (world_K.json) in " + shown_path(folder), out;
    std::vector<WorldChunkMap> chunks;
    json identity;
    int count = 0, world_width = 0, world_height = 0, tile_width = 0, tile_height = 0;
    for (const auto& [index, name] : found) {
        Problem problem;
        const json m = read_manifest((fs::path(folder) / name).string(), name, problem);
        if (problem) return out.problem = problem, out;
        if ((problem = read_chunk(m, name))) return out.problem = problem, out;
        const json& c = m["chunk"];
        if (c["index"].get<long long>() != index)
            return out.problem = shown(name) + " holds another chunk's manifest", out;
        if (chunks.empty()) {
            identity = world_identity(m);
            count = c["of"].get<int>();
            world_width = m["size"][0].get<int>(), world_height = m["size"][1].get<int>();
            tile_width = m["tile_size"][0].get<int>(), tile_height = m["tile_size"][1].get<int>();
        } else if (world_identity(m) != identity || c["of"].get<int>() != count) {
            return out.problem = shown(name) + " is a chunk of another world (its seed or settings differ from " +
                                 shown(found.begin()->second) + "'s)",
                   out;
        }
        if ((problem = check_files(folder, name, m["files"]))) return out.problem = problem, out;
        chunks.push_back({m["map"].get<std::string>(), c["x"].get<int>(), c["y"].get<int>(), c["width"].get<int>(),
                          c["height"].get<int>()});
    }
    for (int k = 0; k < count; ++k)
        if (!found.count(k))
            return out.problem = "chunk " + std::to_string(k) + " of " + std::to_string(count) + " is missing (world_" +
                                 std::to_string(k) + ".json)",
                   out;
    if (static_cast<int>(found.size()) != count)
        return out.problem = "the folder holds chunks of more than one split of the world", out;
    if (Problem problem = tiled_world_problem(chunks, world_width, world_height, tile_width, tile_height))
        return out.problem = problem, out;
    out.world_file = tiled_world(chunks, world_height, tile_width, tile_height);
    std::vector<WorldChunkMap> scenes = chunks, scenes3 = chunks;
    for (std::size_t k = 0; k < chunks.size(); ++k) {
        const std::string stem = fs::path(chunks[k].file).stem().string();
        scenes[k].file = stem + ".tscn";
        scenes3[k].file = stem + ".tscn";  // beside the chunks' scene in Godot 3's folder
    }
    out.godot_scene = godot_chunks_scene(scenes, tile_width, tile_height);
    out.godot3_scene = godot3_chunks_scene(scenes3, tile_width, tile_height);
    out.chunks = count;
    return out;
}
