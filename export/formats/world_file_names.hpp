#pragma once
#include <string>
#include <vector>

// Every name a world (or one chunk of it) named `stem` ("world", "world_3")
// may write in its folder, whatever its options: the map, its render, the
// Godot scenes, the manifest, and each sheet's image, tilesets and lighting
// maps. What the run locks and checks before it draws, and what an older
// world there may have left that this one does not write.
std::vector<std::string> world_file_names(const std::string& stem);

// The manifest among them: STEM.json.
inline std::string world_manifest_name(const std::string& stem) { return stem + ".json"; }
