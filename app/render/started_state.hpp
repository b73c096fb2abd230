#pragma once
#include "export/render_settings.hpp"
#include "state/app_state.hpp"

#include <cstdio>
#include <memory>

// The state every drawing thread of a run copies: the built-in textures,
// or the user's from --textures. Null when they cannot be read, the problem
// on `report` and the exit code in `exit_code`.
std::unique_ptr<AppState> started_state(const RenderSettings& settings, std::FILE* report, int& exit_code);
