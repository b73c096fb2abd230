#pragma once
#include "export/formats/godot_scene_parts.hpp"
#include "export/map/map_model.hpp"

#include <string>
#include <vector>

// Godot 3: the map as a scene. A Node2D holds, in the map's drawing order,
// an isometric TileMap for each tile layer and tileset it draws from (over
// that tileset's Godot 3 .tres, whose tile k is the sheet's cell k x
// cell_stride; the map's cell (x, y) is the TileMap's cell (x, y), whose
// diamond's top corner lies at ((x - y) W/2, (x + y) H/2)), and a YSort for
// each object layer, each object a Sprite over its sheet's cell standing
// where Tiled stands it, its properties as metadata. Layer offsets become
// positions.

// The scene; `tilesets` holds the files of the map's tilesets, in the
// same order. Check the map with godot_scene_problem first.
std::string godot3_world_scene(const MapModel& map, const std::vector<GodotSceneTileset>& tilesets);
