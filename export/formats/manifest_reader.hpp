#pragma once
#include "export/problem.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reading back the manifests brannoc-render writes, beside their writer.
// A manifest is untrusted input like a settings file: a regular file of at
// most largest_manifest_file bytes, nested no deeper than a few levels
// (checked before parsing), and every key of the type the writer gives it.

inline constexpr std::size_t largest_manifest_file = std::size_t(1) << 31;
// A world chunk's manifest: the cells of every layer of the largest chunk
// one process draws come to tens of megabytes.
inline constexpr std::size_t largest_world_manifest_file = std::size_t(256) << 20;

// A manifest at `path`, parsed only once it is known to be at most
// `largest` bytes (told by its size, before it is read), shallow enough and
// free of NUL bytes; null with the problem, naming it `name`, otherwise.
nlohmann::json read_manifest(const std::string& path, const std::string& name, Problem& problem,
                             std::size_t largest = largest_manifest_file);

// A written file's size and content hash, or the problem ("is missing"),
// without following a link out of the folder or waiting on a pipe.
Problem measure_file(const std::string& path, std::uint64_t& size, std::string& hash);

// One shard's manifest: DIR/manifest.K-of-N.json.
struct ShardManifest {
    std::string name;  // manifest.K-of-N.json
    int index = 0, count = 0;
    nlohmann::json manifest;
};

// The shard manifests of one split run in `folder` (of the split into
// `split` shards, or 0: the only split there), in index order; or the one
// problem with the set (a manifest unreadable or of the wrong shape, a
// shard missing, twice, unfinished, stale, of another run, or not listing
// its part of the run), in a sentence naming the file and key.
struct ShardSet {
    std::vector<ShardManifest> shards;
    Problem problem;
};
ShardSet read_shard_manifests(const std::string& folder, int split = 0);

// The first shard manifest's name in `folder` (manifest.K-of-N.json), or "".
std::string first_shard_manifest(const std::string& folder);

// Whether every file the shards list is in `folder` with the size and
// content hash it was written with; the first that is not, in a sentence.
Problem check_listed_files(const std::string& folder, const std::vector<ShardManifest>& shards);

// The manifest one unsharded run would have written, byte for byte: the
// first shard's head without its part, then every shard's tiles in turn.
std::string merged_manifest_text(const std::vector<ShardManifest>& shards);

// The head of a run's manifest (everything before its tiles), read without
// reading the tiles; a discarded value when it is not one of ours.
nlohmann::json read_manifest_head(const std::string& path);
