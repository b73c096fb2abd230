#pragma once
#include "export/problem.hpp"
#include "state/app_state.hpp"

#include <string>
#include <vector>

// Replaces the built-in texture sheets of `state` with the user's
// building_sheet.png, ground_sheet.png and boulder_sheet.png from `folder`,
// all or none. Returns the problem with the first that will not do, naming
// the file; none when all three were taken. Only regular files of at most
// what their size needs (with room to spare) are read, never waiting on one.
Problem load_user_textures(AppState& state, const std::string& folder);

// The files load_user_textures reads from `folder`, by their full names.
std::vector<std::string> user_texture_files(const std::string& folder);
