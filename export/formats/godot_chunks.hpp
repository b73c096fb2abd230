#pragma once
#include "export/formats/world_file.hpp"

#include <string>
#include <vector>

// Godot's counterpart of the .world: a scene instancing the chunk scenes of
// one world, each moved so its cells land where the whole map has them.
// Both engines put cell (x, y) at (x - y) W/2, (x + y) H/2 from cell
// (0, 0), so the chunk from (x0, y0) sits at ((x0 - y0) W/2, (x0 + y0) H/2).
// Chunks come in order down the screen; each sorts its own objects.
// `file` names each chunk's scene relative to this one.

std::string godot_chunks_scene(const std::vector<WorldChunkMap>& chunks, int tile_width, int tile_height);
std::string godot3_chunks_scene(const std::vector<WorldChunkMap>& chunks, int tile_width, int tile_height);
