#include "export/formats/manifest_reader.hpp"

#include "canvas/open_folder.hpp"

#include "canvas/content_hash.hpp"
#include "canvas/file_input.hpp"
#include "export/formats/manifest.hpp"
#include "export/formats/manifest_shape.hpp"
#include "export/settings_file.hpp"
#include "export/shown_text.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
using json = nlohmann::json;

// What identifies the run a shard belongs to: everything but its tiles and
// its part.
const char* const run_keys[] = {"version", "generator", "kind", "settings"};
// The keys of a tile that name a file written for it.
const char* const file_keys[] = {"file", "gif", "normals", "heights", "lit", "albedo"};

// Every key merging reads, of the type the writer gives it.
Problem check_shape(const json& m, const std::string& name) {
    const std::string file = shown(name) + ": ";
    if (Problem problem = wrong_key(m, file,
                                    {{"version", is_whole},
                                     {"generator", is_text},
                                     {"kind", is_text},
                                     {"settings", is_object},
                                     {"shard", is_object},
                                     {"tiles", is_array},
                                     {"complete", is_flag},
                                     {"stale", is_text, true}}))
        return problem;
    if (Problem problem = wrong_key(m["shard"], file + "shard ",
                                    {{"index", is_count}, {"count", is_count}, {"first", is_count}, {"end", is_count}}))
        return problem;
    if (Problem problem = wrong_key(m["settings"], file + "settings ", {{"count", is_count}})) return problem;
    const json& tiles = m["tiles"];
    for (std::size_t t = 0; t < tiles.size(); ++t) {
        const std::string where = file + "tile " + std::to_string(t) + " ";
        if (!tiles[t].is_object()) return where + "is not an object";
        if (!tiles[t].contains("files"))
            return where +
                   "gives no \"files\" with sizes and hashes (an older brannoc-render wrote it?): run "
                   "its shard again";
        if (Problem problem = wrong_key(tiles[t], where,
                                        {{"index", is_count},
                                         {"file", is_text},
                                         {"gif", is_text, true},
                                         {"normals", is_text, true},
                                         {"heights", is_text, true},
                                         {"lit", is_text, true},
                                         {"albedo", is_text, true},
                                         {"files", is_object}}))
            return problem;
        for (const auto& [listed, written] : tiles[t]["files"].items()) {
            if (!written.is_object())
                return where + "\"files\" \"" + shown(listed) + "\" is not what brannoc-render writes";
            if (Problem problem = wrong_key(written, where + "\"files\" \"" + shown(listed) + "\" ",
                                            {{"bytes", is_count}, {"fnv1a64", is_text}}))
                return problem;
        }
        for (const char* key : file_keys)
            if (tiles[t].contains(key) && !tiles[t]["files"].contains(tiles[t][key].get<std::string>()))
                return where + "lists " + shown(tiles[t][key].get<std::string>()) + " without its size and hash";
    }
    return std::nullopt;
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

struct Found {
    std::string name;
    int index = 0, count = 0;
};

const std::regex& shard_name() {
    static const std::regex name(R"(manifest\.([0-9]{1,7})-of-([0-9]{1,7})\.json)");
    return name;
}

// The shard manifests' names in the folder, of the split chosen.
Problem find_names(const std::string& folder, int split, std::vector<Found>& found) {
    std::error_code error;
    fs::directory_iterator it(opened_path(folder), error);
    if (error) return "cannot read " + shown(folder) + ": " + error.message();
    std::vector<Found> all;
    for (fs::directory_iterator end; it != end; it.increment(error)) {
        if (error) return "cannot read " + shown(folder) + ": " + error.message();
        const std::string name = it->path().filename().string();
        std::smatch match;
        if (!std::regex_match(name, match, shard_name())) continue;
        Found shard{name, std::stoi(match[1]), std::stoi(match[2])};
        if (shard.count < 2 || shard.index >= shard.count)
            return shown(name) +
                   " is no shard's manifest: brannoc-render writes manifest.K-of-N.json with K from 0 "
                   "below N and N at least 2";
        all.push_back(shard);
    }
    std::map<int, int> splits;
    for (const Found& shard : all) ++splits[shard.count];
    if (split > 0) {
        if (!splits.count(split))
            return "no shard manifests of a split into " + std::to_string(split) + " (manifest.K-of-" +
                   std::to_string(split) + ".json) in " + shown(folder);
        splits = {{split, 1}};
    }
    if (splits.empty()) return "no shard manifests (manifest.K-of-N.json) in " + shown(folder);
    if (splits.size() > 1)
        return "shards of two splits, into " + std::to_string(splits.begin()->first) + " and " +
               std::to_string(std::next(splits.begin())->first) + ", in " + shown(folder) +
               ": merge one split at a time (choose it with --split N)";
    for (const Found& shard : all)
        if (shard.count == splits.begin()->first) found.push_back(shard);
    return std::nullopt;
}

Problem collect(const std::string& folder, int split, std::vector<ShardManifest>& shards) {
    std::vector<Found> names;
    if (Problem problem = find_names(folder, split, names)) return problem;
    const int count = names.front().count;
    std::map<int, std::size_t> by_index;
    for (std::size_t k = 0; k < names.size(); ++k)
        if (const auto [at, added] = by_index.emplace(names[k].index, k); !added)
            return "shard " + std::to_string(names[k].index) + " of " + std::to_string(count) + " is there twice (" +
                   names[at->second].name + " and " + names[k].name + ")";
    for (int index = 0; index < count; ++index)
        if (!by_index.count(index))
            return "shard " + std::to_string(index) + " of " + std::to_string(count) + " is missing (manifest." +
                   std::to_string(index) + "-of-" + std::to_string(count) + ".json)";
    for (const auto& [index, k] : by_index) {
        const Found& f = names[k];
        Problem problem;
        json manifest = read_manifest((fs::path(folder) / f.name).string(), f.name, problem);
        if (!problem) problem = check_shape(manifest, f.name);
        if (problem) return problem;
        const json& part = manifest["shard"];
        if (part["index"].get<long long>() != f.index || part["count"].get<long long>() != f.count)
            return shown(f.name) + " does not say it is shard " + std::to_string(f.index) + " of " +
                   std::to_string(f.count);
        shards.push_back({f.name, f.index, f.count, std::move(manifest)});
    }
    const json& first = shards.front().manifest;
    long long next = 0;
    for (const ShardManifest& shard : shards) {
        const json& m = shard.manifest;
        for (const char* key : run_keys)
            if (m[key] != first[key])
                return shard.name + " is from another run than " + shards.front().name + " (its " +
                       (std::string(key) == "settings" ? first_difference(first["settings"], m["settings"])
                                                       : std::string(key)) +
                       " differs)";
        const std::string again = ": run shard " + std::to_string(shard.index) + "/" + std::to_string(count) + " again";
        if (m.contains("stale")) return shard.name + " is stale (" + shown(m["stale"].get<std::string>()) + ")" + again;
        if (!m["complete"].get<bool>()) return shard.name + " is not complete" + again;
        const json& part = m["shard"];
        const json& tiles = m["tiles"];
        const long long begin = part["first"].get<long long>(), end = part["end"].get<long long>();
        bool in_order = begin == next && end >= begin && static_cast<long long>(tiles.size()) == end - begin;
        for (std::size_t t = 0; in_order && t < tiles.size(); ++t)
            in_order = tiles[t]["index"].get<long long>() == begin + static_cast<long long>(t);
        if (!in_order) return shard.name + " does not list the tiles of its part of the run";
        next = end;
    }
    if (first["settings"]["count"].get<long long>() != next)
        return "the shards list " + std::to_string(next) + " tiles, not the run's count";
    return std::nullopt;
}

// A plain name in the folder: no path, nothing hidden behind "..".
bool is_plain_name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

}  // namespace

json read_manifest(const std::string& path, const std::string& name, Problem& problem, std::size_t largest) {
    const ReadResult read = read_regular_file(path, largest);
    if (!read.ok) return problem = shown(name) + " cannot be read: " + read.error, json();
    if (std::memchr(read.bytes.data(), '\0', read.bytes.size()))
        return problem = shown(name) + " holds NUL bytes: not a manifest that brannoc-render wrote", json();
    if (json_nesting(read.bytes) > deepest_settings_nesting)
        return problem = shown(name) + " is nested deeper than " + std::to_string(deepest_settings_nesting) +
                         " levels: not a manifest that brannoc-render wrote",
               json();
    json manifest = json::parse(read.bytes.begin(), read.bytes.end(), nullptr, false);
    if (manifest.is_discarded()) return problem = shown(name) + " is not valid JSON", json();
    if (!manifest.is_object()) return problem = shown(name) + " holds no manifest object", json();
    return manifest;
}

Problem measure_file(const std::string& path, std::uint64_t& size, std::string& hash) {
    const int fd = ::open(opened_path(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0) return errno == ENOENT ? "is missing" : std::string("cannot be read: ") + std::strerror(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return "is not a regular file";
    }
    ContentHash content;
    char chunk[1 << 16];
    size = 0;
    for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return std::string("cannot be read: ") + std::strerror(error);
        }
        content.add(chunk, static_cast<std::size_t>(n));
        size += static_cast<std::uint64_t>(n);
    }
    ::close(fd);
    hash = content.hex();
    return std::nullopt;
}

ShardSet read_shard_manifests(const std::string& folder, int split) {
    ShardSet set;
    set.problem = collect(folder, split, set.shards);
    if (set.problem) set.shards.clear();
    return set;
}

std::string first_shard_manifest(const std::string& folder) {
    std::string first;
    std::error_code error;
    for (fs::directory_iterator it(opened_path(folder), error), end; !error && it != end; it.increment(error))
        if (const std::string name = it->path().filename().string(); std::regex_match(name, shard_name()))
            if (first.empty() || name < first) first = name;
    return first;
}

Problem check_listed_files(const std::string& folder, const std::vector<ShardManifest>& shards) {
    for (const ShardManifest& shard : shards)
        for (const json& tile : shard.manifest["tiles"])
            for (const auto& [name, written] : tile["files"].items()) {
                const std::string listed = shard.name + " lists " + shown(name);
                if (!is_plain_name(name)) return listed + ", which is not a file of the folder";
                std::uint64_t size = 0;
                std::string hash;
                if (Problem problem = measure_file((fs::path(folder) / name).string(), size, hash))
                    return listed + ", which " + *problem;
                if (size != written["bytes"].get<std::uint64_t>())
                    return listed + ", which is " + std::to_string(size) + " bytes, not the " +
                           std::to_string(written["bytes"].get<std::uint64_t>()) + " written";
                if (hash != written["fnv1a64"].get<std::string>())
                    return listed +
                           ", whose content is not what was written (another run replaced it, or it was "
                           "changed)";
            }
    return std::nullopt;
}

std::string merged_manifest_text(const std::vector<ShardManifest>& shards) {
    json head = shards.front().manifest;
    for (const char* part : {"shard", "tiles", "complete", "stale"}) head.erase(part);
    std::string text = manifest_head_text(head);
    bool first = true;
    for (const ShardManifest& shard : shards)
        for (const json& tile : shard.manifest["tiles"]) {
            text += manifest_entry_text(tile, first);
            first = false;
        }
    return text + manifest_tail(true);
}

json read_manifest_head(const std::string& path) {
    // The head is small: the settings and a little more.
    const int fd = ::open(opened_path(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0) return json(json::value_t::discarded);
    struct stat info {};
    std::vector<std::uint8_t> bytes(1 << 16);
    ssize_t n = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) n = ::pread(fd, bytes.data(), bytes.size(), 0);
    ::close(fd);
    if (n <= 0) return json(json::value_t::discarded);
    const std::string text(bytes.begin(), bytes.begin() + n);
    const std::size_t tiles = text.find(",\n \"tiles\": [");
    if (tiles == std::string::npos) return json(json::value_t::discarded);
    const std::vector<std::uint8_t> head(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(tiles));
    if (json_nesting(head) > deepest_settings_nesting) return json(json::value_t::discarded);
    json parsed = json::parse(text.substr(0, tiles) + "}", nullptr, false);
    return parsed.is_object() ? parsed : json(json::value_t::discarded);
}
