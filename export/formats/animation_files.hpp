#pragma once
#include "export/formats/godot_files.hpp"

#include <string>

// What the engine files add for a tile whose frames sit in the cells after
// its own (see tile_frames.hpp): every frame shown frame_ms.

// Tiled: the <animation> element of the tileset's tile `first_id`, whose
// frames are the tiles first_id .. first_id + frames - 1.
std::string tiled_animation(int first_id, int frames, int frame_ms);

// Godot 4: the atlas keys of the tile in the first frame's cell. The frames
// run along the row (animation_columns, no separation); mode 0 starts every
// tile's animation together, so neighbouring water stays in step. Godot
// keeps the frames' cells for the animation: no other tile may claim them.
GodotKeys godot_animation_keys(int frames, int frame_ms);
