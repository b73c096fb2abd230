#include "export/formats/manifest_reader.hpp"

#include "export/shown_text.hpp"

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>

namespace {
namespace fs = std::filesystem;
using json = nlohmann::json;

// What identifies the run a shard belongs to: everything but its tiles and
// its part.
const char* const run_keys[] = {"version", "generator", "kind", "settings"};

std::optional<json> read_manifest(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    json manifest = json::parse(in, nullptr, false);
    if (manifest.is_discarded() || !manifest.is_object()) return std::nullopt;
    return manifest;
}

// The first setting whose value differs, to name in the refusal.
std::string first_difference(const json& a, const json& b) {
    if (!a.is_object() || !b.is_object()) return "settings";
    for (const auto& [key, value] : a.items())
        if (!b.contains(key) || b[key] != value) return key;
    for (const auto& [key, value] : b.items())
        if (!a.contains(key)) return key;
    return "settings";
}

std::string collect(const std::string& folder, std::vector<ShardManifest>& shards) {
    static const std::regex shard_name(R"(manifest\.([0-9]{1,7})-of-([0-9]{1,7})\.json)");
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return "cannot read " + shown(folder) + ": " + error.message();
    std::vector<ShardManifest> found;
    for (fs::directory_iterator end; it != end; it.increment(error)) {
        if (error) return "cannot read " + shown(folder) + ": " + error.message();
        const std::string name = it->path().filename().string();
        std::smatch match;
        if (!std::regex_match(name, match, shard_name)) continue;
        ShardManifest shard{name, std::stoi(match[1]), std::stoi(match[2]), {}};
        const std::optional<json> manifest = read_manifest(it->path());
        if (!manifest) return shown(name) + " is not a manifest that brannoc-render wrote";
        const json& part = (*manifest)["shard"];
        if (!part.is_object() || part.value("index", -1) != shard.index || part.value("count", -1) != shard.count)
            return shown(name) + " does not say it is shard " + std::to_string(shard.index) + " of " +
                   std::to_string(shard.count);
        shard.manifest = std::move(*manifest);
        found.push_back(std::move(shard));
    }
    if (found.empty()) return "no shard manifests (manifest.K-of-N.json) in " + shown(folder);
    const int count = found.front().count;
    std::map<int, std::size_t> by_index;
    for (std::size_t k = 0; k < found.size(); ++k) {
        const ShardManifest& shard = found[k];
        if (shard.count != count)
            return "shards of two splits, into " + std::to_string(count) + " and " + std::to_string(shard.count) +
                   ", in " + shown(folder) + ": merge one split at a time";
        if (const auto [at, added] = by_index.emplace(shard.index, k); !added)
            return "shard " + std::to_string(shard.index) + " of " + std::to_string(count) + " is there twice (" +
                   found[at->second].name + " and " + shard.name + ")";
    }
    for (int index = 0; index < count; ++index)
        if (!by_index.count(index))
            return "shard " + std::to_string(index) + " of " + std::to_string(count) + " is missing (manifest." +
                   std::to_string(index) + "-of-" + std::to_string(count) + ".json)";
    for (const auto& [index, k] : by_index) shards.push_back(std::move(found[k]));
    const json& first = shards.front().manifest;
    int next = 0;
    for (const ShardManifest& shard : shards) {
        for (const char* key : run_keys)
            if (shard.manifest.value(key, json()) != first.value(key, json()))
                return shard.name + " is from another run than " + shards.front().name + " (its " +
                       (std::string(key) == "settings" ? first_difference(first["settings"], shard.manifest["settings"])
                                                       : std::string(key)) +
                       " differs)";
        if (shard.manifest.value("complete", false) != true)
            return shard.name + " is not complete: run shard " + std::to_string(shard.index) + "/" +
                   std::to_string(count) + " again";
        const json& part = shard.manifest["shard"];
        const json& tiles = shard.manifest["tiles"];
        const int begin = part.value("first", -1), end = part.value("end", -1);
        bool in_order = begin == next && tiles.is_array() && static_cast<int>(tiles.size()) == end - begin;
        for (std::size_t t = 0; in_order && t < tiles.size(); ++t)
            in_order = tiles[t].is_object() && tiles[t].value("index", -1) == begin + static_cast<int>(t);
        if (!in_order) return shard.name + " does not list the tiles of its part of the run";
        next = end;
    }
    const json& settings = first["settings"];
    if (!settings.is_object() || settings.value("count", -1) != next)
        return "the shards list " + std::to_string(next) + " tiles, not the run's count";
    return {};
}

}  // namespace

ShardSet read_shard_manifests(const std::string& folder) {
    ShardSet set;
    set.problem = collect(folder, set.shards);
    if (!set.problem.empty()) set.shards.clear();
    return set;
}

std::string merged_manifest_text(const std::vector<ShardManifest>& shards) {
    json head = shards.front().manifest;
    head.erase("shard");
    head.erase("tiles");
    head.erase("complete");
    std::string text = head.dump(1);
    text.resize(text.rfind('}'));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    text += ",\n \"tiles\": [";
    bool first = true;
    for (const ShardManifest& shard : shards)
        for (const json& tile : shard.manifest["tiles"]) {
            text += (first ? "\n  " : ",\n  ") + tile.dump();
            first = false;
        }
    return text + "\n ],\n \"complete\": true\n}\n";
}
