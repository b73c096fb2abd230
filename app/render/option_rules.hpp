#pragma once
#include "export/render_settings.hpp"

#include <optional>
#include <set>
#include <string>
#include <vector>

// What brannoc-render checks across options once each has its value, kept
// as tables so a new option adds a row rather than a branch.

// Options that cannot go together, and options that need another: the
// first broken rule's one line, naming both. `named` holds every option
// given, on the command line or in a settings file.
std::optional<std::string> option_conflict(const RenderSettings& settings, const std::set<std::string>& named);

// Two outputs (or an output and the settings file read) that are one file,
// by name or through links: the line that says so.
std::optional<std::string> outputs_that_collide(const RenderSettings& settings, const std::string& settings_file);

// The known name closest to a misspelt one ("cout" -> "count"), or "" when
// none is close enough to be what was meant.
std::string nearest_name(const std::string& name, const std::vector<std::string>& known);
