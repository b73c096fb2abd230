#pragma once
#include "export/tile/tile_request.hpp"
#include "generators/world/world_shape.hpp"

#include <string>

// Everything one run of brannoc-render draws and writes, in parts: the
// tiles' request (tile_request.hpp) and the parts below. Each part converts
// to what takes only it, so code that draws a tile never sees the rest.

// What every run has, worlds and merges too.
struct RunRequest {
    std::string out = ".";
    bool quiet = false;
    int jobs = 1;
    // Shard `shard` of `shards`: a contiguous part of the run's indices,
    // drawn with the same files, names and bytes they have in the whole run
    // (a world: chunk `shard` of a grid of `shards`).
    int shard = 0, shards = 1;
};

// A run of tiles: how many, and an animated GIF of each (or of the sheet's
// sample map) to play.
struct BatchRequest {
    int count = 1;
    bool gif = false;
};

// A sheet instead of one file a tile, with its Tiled tileset and manifest
// beside it, and on request a sample map and Godot TileSets.
struct SheetRequest {
    std::string sheet;
    int columns = 0;  // 0: about square
    int spacing = 0;
    int margin = 0;
    bool cell_outlines = false;  // each cell outlined in the window's purple
    std::string tmx;
    std::string godot;
    std::string godot3;
};

struct RenderSettings : RunRequest, BatchRequest, SheetRequest, TileRequest {
    // brannoc-render world: a whole map instead of tiles, its shape here;
    // the run's RunRequest and TileDrawing apply to it as to tiles.
    bool world = false;
    WorldShape world_shape;
};

// A world's settings before any option is given: four variants of every
// tile, so that it shows no grid unless asked to.
inline RenderSettings default_world_settings() {
    RenderSettings settings;
    settings.world = true;
    settings.variants = 4;
    return settings;
}

// The indices of the run's tiles this shard draws: first .. end - 1.
inline int shard_first(const RenderSettings& s) {
    return static_cast<int>(static_cast<long long>(s.count) * s.shard / s.shards);
}
inline int shard_end(const RenderSettings& s) {
    return static_cast<int>(static_cast<long long>(s.count) * (s.shard + 1) / s.shards);
}
