#pragma once
#include <string>

// Where a world's files lie in its folder. Tiled's and Godot 4's lie side
// by side with the sheets; Godot 3's (its scenes, its TileSets and copies
// of the sheets they show) in a folder of their own. Godot 3 reads every
// .tscn and .tres of a project and reports each Godot 4 one as "Saved with
// newer format version", and it reaches nothing outside its project, so a
// Godot 3 user takes that folder alone, whole.
inline constexpr const char* world_godot3_folder = "godot3";

// A file of Godot 3's, as a name in the world's folder.
inline std::string world_godot3_path(const std::string& name) { return std::string(world_godot3_folder) + "/" + name; }
