#pragma once
#include <string>
#include <vector>

// Every name a world (or one chunk of it) named `stem` ("world", "world_3")
// may write in its folder, whatever its options: the map, its render, the
// Godot scenes, the manifest, and each sheet's image, tilesets and lighting
// maps, Godot 3's in its folder below. What the run locks and checks before it draws, and what an older
// world there may have left that this one does not write.
std::vector<std::string> world_file_names(const std::string& stem);

// Godot 3's files lie apart in this folder: its scenes, its TileSets and
// copies of the sheets they show. Godot 3 reads every .tscn and .tres of a
// project and reports each Godot 4 one as "Saved with newer format
// version", and it reaches nothing outside its project, so a Godot 3 user
// takes that folder alone, whole.
inline constexpr const char* world_godot3_folder = "godot3";
inline std::string world_godot3_path(const std::string& name) { return std::string(world_godot3_folder) + "/" + name; }

// The manifest among them: STEM.json.
inline std::string world_manifest_name(const std::string& stem) { return stem + ".json"; }
