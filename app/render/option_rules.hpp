#pragma once
#include "export/render_settings.hpp"

#include <optional>
#include <set>
#include <string>
#include <vector>

// What brannoc-render checks beyond the options' own rules (those are
// declared with the options, export/run_options.hpp).

// Two outputs, or an output and an input (the settings file, a texture
// sheet), that are one file, by name, through links or hard links, existing
// or not: the line that says so, naming both.
std::optional<std::string> outputs_that_collide(const RenderSettings& settings, const std::string& settings_file);

// The known name closest to a misspelt one ("cout" -> "count"), or "" when
// none is close enough to be what was meant.
std::string nearest_name(const std::string& name, const std::vector<std::string>& known);

// Whether a file of the --out folder is one a run of one file a tile writes
// there: a tile's image, lighting map or GIF.
bool written_by_run(const RenderSettings& settings, const std::string& name);
