#pragma once
#include <string>

// The folder a file goes in: "." for a bare name.
std::string folder_of(const std::string& path);

// Whether the folder exists (or can be made) and takes new files: empty,
// or the problem in a sentence.
std::string check_output_folder(const std::string& out);
