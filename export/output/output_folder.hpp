#pragma once
#include "canvas/open_folder.hpp"

#include <optional>
#include <string>

// The folder a file goes in: "." for a bare name.
std::string folder_of(const std::string& path);

// The output folder, made if missing and opened (open_folder.hpp: every
// file the run writes there goes through its descriptor), once it is known
// to take new files; nullopt with the problem in a sentence otherwise.
std::optional<OpenFolder> open_output_folder(const std::string& out, std::string& problem);
