#pragma once
#include "export/render_settings.hpp"

#include <optional>
#include <set>
#include <string>
#include <vector>

// What brannoc-render checks beyond the options' own rules (those are
// declared with the options, export/run_options.hpp).

// Two outputs (or an output and the settings file read) that are one file,
// by name or through links: the line that says so.
std::optional<std::string> outputs_that_collide(const RenderSettings& settings, const std::string& settings_file);

// The known name closest to a misspelt one ("cout" -> "count"), or "" when
// none is close enough to be what was meant.
std::string nearest_name(const std::string& name, const std::vector<std::string>& known);
