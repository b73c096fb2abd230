#pragma once
#include "generators/common/river_channel.hpp"
#include "generators/common/road_track.hpp"
#include "generators/tile_kinds.hpp"
#include "state/control_model.hpp"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// What one seeded tile is drawn from, in three parts. Every run option that
// shapes a tile binds to a field of one of them (run_option_table.cpp), and
// the part says who decides it: a world passes the run's TileDrawing to
// every tile and sprite it draws, and decides their TileChoice and
// TileImage itself.

// Which tile: its kind, the controls and picks over the defaults, and for
// the kinds drawn as sets, which tile of which set.
struct TileChoice {
    TileKind kind = TileKind::house;
    // Control states to set (number, state), applied in order over the
    // defaults before every tile.
    std::vector<std::pair<int, int>> controls;
    // Texture picks by button number, as a chooser would make them.
    std::vector<std::pair<int, std::vector<int>>> textures;
    // The one tile's own stream, as a manifest records it: draws that tile
    // again (a run of one).
    std::optional<std::uint64_t> tile_stream;
    // The transition kind: terrains A and B (the same until chosen). One
    // terrain alone (B is A): a fill set of A's variants.
    TransitionTerrain terrain_a, terrain_b;
    bool fill_set = false;
    // Over tiles: B's side and its edges only, A's side transparent and
    // foam, shallows and shadows on it partial alpha, for stacking terrains.
    bool over = false;
    // The slope kind: terrain_a is the ground, terrain_b a cliff's rock;
    // how many --terrains named (0 until given); the step in pixels (0: the
    // width's default) and whether the set has cliffs instead of slopes.
    int terrain_count = 0;
    int slope_step = 0;
    bool cliff = false;
    // A river's channel through every tile of a transition or slope set
    // (none unless given): a transition set's water through its land, a
    // slope set's rapids, a cliff set's falls; a slope set's channel runs
    // with the water named last in its terrains (water:0 unless named).
    RiverChannel channel;
    std::optional<TransitionTerrain> channel_water;
    // A road's track through every tile of a transition or slope set (none
    // unless given), of B's ground; a bridge's planks over a transition
    // set's water.
    RoadTrack road;
    // One tile of the set alone, by its index in the set: what a tile's
    // record draws again.
    std::optional<int> set_tile;
};

// Lighting maps beside every image: normals (NAME_n.png), heights
// (NAME_h.png), a preview lit by one light (NAME_lit.png) and the colour
// with the generators' own light taken out (NAME_a.png), which the preview
// then lights.
struct Lighting {
    bool normals = false;
    bool heights = false;
    bool lit = false;
    bool albedo = false;
    double light_azimuth = 135.0;  // degrees, see Light
    double light_elevation = 45.0;
    bool wants_surfaces() const { return normals || heights || lit || albedo; }
};

// How every tile of a run is drawn, whatever tile it is.
struct TileDrawing : Lighting {
    int iso_width = 100;  // any even width 40..200
    std::uint64_t seed = 1;
    // Tiles of each of a set's sixteen corner combinations (a set's count
    // is 16 x variants).
    int variants = 1;
    // Moving water: each tile drawn as loop_frames frames of one loop, shown
    // frame_ms apart (1: still water, as the window paints it).
    int loop_frames = 1;
    int frame_ms = 120;
    // Moving water drifts towards this many degrees (see WaterPhase); none:
    // it sways in place.
    std::optional<double> flow;
    // A folder of the user's own texture sheets, replacing the built-in ones.
    std::string texture_folder;
};

// The image a tile becomes.
struct TileImage {
    bool png = true;  // false: BMP as the window writes it
    bool transparent = false;
    bool trim = false;
};

struct TileRequest : TileChoice, TileDrawing, TileImage {};

// The controls a tile starts from: the defaults with the request's own
// written over them.
ControlModel run_controls(const TileChoice& choice);
