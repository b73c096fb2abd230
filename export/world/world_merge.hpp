#pragma once
#include "export/problem.hpp"

#include <string>

// The chunks of a world drawn with --shard K/N (DIR/world_K.json and the
// files each lists) joined into a Tiled .world that places every chunk map
// where the whole map has its cells, so Tiled opens them as one world, and
// Godot 4 and Godot 3 scenes that instance the chunks' scenes the same way.
struct WorldMerge {
    std::string world_file;  // the .world's text
    // Named apart from a whole world's scenes, which may share the folder.
    std::string godot_scene;   // world_chunks.tscn
    std::string godot3_scene;  // world_chunks.tscn in Godot 3's folder
    Problem problem;           // why the chunks cannot be joined, naming the file
    int chunks = 0;
};

// Whether `folder` holds chunk manifests of a world.
bool has_world_chunks(const std::string& folder);

// Every chunk must be there once, finished, of the same world (seed and
// settings) and with every file it lists unchanged.
WorldMerge merge_world_chunks(const std::string& folder);
