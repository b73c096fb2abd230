#pragma once
#include <string>

// How `file` names `target`: relative to the folder holding `file`, with
// '/' separators, so the files work wherever the folder is moved (and Godot,
// which resolves names inside its project, can load them). A first part
// holding a ':' gets a "./" in front, so no reader takes it for a URL scheme.
std::string path_from_file(const std::string& file, const std::string& target);
