#pragma once
#include "export/problem.hpp"
#include "export/map/map_model.hpp"
#include "export/map/tiled_placement.hpp"
#include "export/world/world_sheets.hpp"

#include <string>
#include <utility>
#include <vector>

// The map files of a world or chunk named `stem`, as (file name, bytes):
// the Tiled map (stem.tmx), the Godot 4 scene (stem.tscn) and the Godot 3
// scene (stem.tscn in Godot 3's folder); our own render of the map is
// world_picture.hpp's. The map's tileset t is sheet t, whose
// files the scenes name; tile k of a sheet of F frames a tile is its cell
// k x F.
// The problem in a sentence, and no files, when the map cannot be drawn
// (map_composite_problem), rendered or not.
struct SceneFiles {
    std::vector<std::pair<std::string, std::string>> files;
    Problem problem;
};
SceneFiles world_scene_files(const MapModel& model, const std::string& stem,
                             const std::vector<const WorldSheet*>& sheets, bool normals);

// Screen pixels right of and below a cell's middle.
struct ScreenOffset {
    int across = 0, down = 0;
};

// A tile object of `tileset` (its tile `gid`) standing with its anchor on
// the centre of cell (x, y), raised `rise` pixels and moved by `offset`,
// exactly where Tiled draws the same tile in that cell of its `ground`
// layer (at an odd tile height Tiled rounds the rows of each layer its own
// way).
MapObject standing_object(const MapModel& map, const MapTileset& tileset, std::uint32_t gid, int x, int y, int rise,
                          const TiledLayerRows& ground, ScreenOffset offset = {});
