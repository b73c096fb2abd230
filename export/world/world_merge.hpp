#pragma once
#include "export/problem.hpp"

#include <map>
#include <string>
#include <utility>
#include <vector>

// The chunks of a world drawn with --shard K/N (DIR/world_K.json and the
// files each lists) joined into a Tiled .world that places every chunk map
// where the whole map has its cells, Godot 4 and Godot 3 scenes that
// instance the chunks' scenes the same way, and a manifest of the merge.
struct WorldMerge {
    // world.world, world_chunks.tscn, godot3/world_chunks.tscn (named apart
    // from a whole world's scenes, which may share the folder) and, last,
    // world_chunks.json: each chunk's manifest with its size and hash and
    // every file the merge wrote with theirs.
    std::vector<std::pair<std::string, std::string>> files;
    std::string manifest_not_complete;  // world_chunks.json as it stands while the files are put in place
    Problem problem;                    // why the chunks cannot be joined, naming the file and key
    int chunks = 0;
};

// The merge's own files, by name.
inline constexpr const char* merged_world_file = "world.world";
inline constexpr const char* merged_world_manifest = "world_chunks.json";
std::vector<std::string> merged_world_file_names();

// The chunk manifests of a world in `folder` (world_K.json), by K.
std::map<int, std::string> world_chunk_manifests(const std::string& folder);

// Every chunk must be there once, finished, not stale, of the same world
// (seed and settings), in its own place of the world's chunk grid, naming
// its own map, listing its own files (its map, render, scenes and sheets),
// each of them unchanged.
WorldMerge merge_world_chunks(const std::string& folder);
