#pragma once
#include "export/formats/godot_scene_parts.hpp"
#include "export/map/map_model.hpp"

#include <cstdint>
#include <string>
#include <vector>

// Godot 4 (4.3 and later): the map as a scene. A Node2D holds, in the
// map's drawing order, a TileMapLayer for each tile layer and tileset it
// draws from (over that tileset's .tres, which is isometric, diamond-down,
// so the map's cell (x, y) is the layer's cell (x, y)), and a y-sorted
// Node2D for each object layer, each object a Sprite2D over its sheet's
// cell standing where Tiled stands it, its properties as metadata. Layer
// offsets become positions.
// Cell (0, 0)'s centre lies at (W/2, H/2), as Godot puts it.

// A TileMapLayer's tile_map_data: format 0, then per cell 12 bytes of
// little-endian 16-bit numbers: x, y, source, atlas column, atlas row and
// alternative (Godot's flips in bits 12 to 14).
struct GodotCell {
    int x = 0, y = 0;
    int source = 0, column = 0, row = 0;
    int alternative = 0;
};
std::vector<std::uint8_t> godot_tile_map_data(const std::vector<GodotCell>& cells);

// The scene; `tilesets` holds the files of the map's tilesets, in the
// same order. Check the map with godot_scene_problem first.
std::string godot_world_scene(const MapModel& map, const std::vector<GodotSceneTileset>& tilesets);
