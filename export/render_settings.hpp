#pragma once
#include "generators/tile_kinds.hpp"
#include "state/control_model.hpp"
#include "generators/world/world_map.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Everything one run of brannoc-render draws and writes.
struct RenderSettings {
    TileKind kind = TileKind::house;
    int iso_width = 100;  // any even width 40..200
    // Control states to set (number, state), applied in order over the
    // defaults before every tile.
    std::vector<std::pair<int, int>> controls;
    // Texture picks by button number, as a chooser would make them.
    std::vector<std::pair<int, std::vector<int>>> textures;

    int count = 1;
    std::uint64_t seed = 1;
    // The one tile's own stream, as a manifest records it: draws that tile
    // again (a run of one).
    std::optional<std::uint64_t> tile_stream;
    std::string out = ".";
    bool png = true;  // false: BMP as the window writes it
    bool transparent = false;
    bool trim = false;
    bool quiet = false;
    int jobs = 1;
    // Shard `shard` of `shards`: a contiguous part of the run's indices,
    // drawn with the same files, names and bytes they have in the whole run.
    int shard = 0, shards = 1;

    // A sheet instead of one file a tile, with its Tiled tileset and
    // manifest beside it, and on request a sample map and a Godot TileSet.
    std::string sheet;
    int columns = 0;  // 0: about square
    int spacing = 0;
    int margin = 0;
    bool cell_outlines = false;  // each cell outlined in the window's purple
    std::string tmx;
    std::string godot;
    std::string godot3;

    // Moving water: each tile drawn as loop_frames frames of one loop, shown
    // frame_ms apart (1: still water, as the window paints it); gif: also an
    // animated GIF to play.
    int loop_frames = 1;
    int frame_ms = 120;
    bool gif = false;
    // Moving water drifts towards this many degrees (see WaterPhase); none:
    // it sways in place.
    std::optional<double> flow;
    // The transition kind: terrains A and B (the same until chosen), and how
    // many tiles of each of the sixteen corner combinations (count is 16 x
    // variants).
    TransitionTerrain terrain_a, terrain_b;
    // One terrain alone (B is A): a fill set of `variants` tiles of A.
    bool fill_set = false;
    int variants = 1;
    // Over tiles: B's side and its edges only, A's side transparent and
    // foam, shallows and shadows on it partial alpha, for stacking terrains.
    bool over = false;
    // The slope kind: terrain_a is the ground, terrain_b a cliff's rock;
    // how many --terrains named (0 until given); the step in pixels (0: the
    // width's default) and whether the set has cliffs instead of slopes.
    int terrain_count = 0;
    int slope_step = 0;
    bool cliff = false;
    // One tile of the set alone, by its index in the set: what a tile's
    // record draws again.
    std::optional<int> set_tile;

    // Lighting maps beside every image: normals (NAME_n.png), heights
    // (NAME_h.png), a preview lit by one light (NAME_lit.png) and the colour
    // with the generators' own light taken out (NAME_a.png), which the
    // preview then lights.
    bool normals = false;
    bool heights = false;
    bool lit = false;
    bool albedo = false;
    double light_azimuth = 135.0;  // degrees, see Light
    double light_elevation = 45.0;
    bool wants_surfaces() const { return normals || heights || lit || albedo; }

    // A folder of the user's own texture sheets, replacing the built-in ones.
    std::string texture_folder;

    // brannoc-render world: a whole map instead of tiles. Its size, levels,
    // palette and thresholds are here; the run's seed, width, variants,
    // frames, normals, textures, jobs and shard (a chunk of the world) apply.
    bool world = false;
    WorldRequest world_request;
};

// The indices of the run's tiles this shard draws: first .. end - 1.
inline int shard_first(const RenderSettings& s) {
    return static_cast<int>(static_cast<long long>(s.count) * s.shard / s.shards);
}
inline int shard_end(const RenderSettings& s) {
    return static_cast<int>(static_cast<long long>(s.count) * (s.shard + 1) / s.shards);
}

// The controls a run's tiles start from: the defaults with the run's own
// written over them.
ControlModel run_controls(const RenderSettings& settings);
