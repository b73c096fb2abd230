#pragma once
#include <string>
#include <vector>

// After a world is written: the files an older world of the same name left
// in `folder` (any of `names`, the names a world of that stem may write,
// that this one did not write: world_objects.* when this one has no
// objects, an older run's lighting maps) would lie there unlisted and be
// taken for this world's by Godot. Those that are regular files of this
// user are removed; returns the line that says so, or "" when none were.
std::string remove_old_world_files(const std::string& folder, const std::vector<std::string>& names,
                                   const std::vector<std::string>& written);
