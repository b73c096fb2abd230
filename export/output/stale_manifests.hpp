#pragma once
#include "export/render_settings.hpp"

#include <string>
#include <vector>

// A run about to replace tiles that older manifests in its folder list
// (manifest.json or a shard's manifest.K-of-N.json of other settings, the
// same tile names and overlapping indices) marks each finished one stale:
// "complete": false and why, so that neither a reader nor a merge takes
// them for the files there. Manifests of the same settings describe the
// same bytes and are left as they are; `own` is the run's own manifest.
// Returns how many were marked.
int mark_stale_manifests(const RenderSettings& settings, const std::string& own);

// The manifest in `folder` of the run writing the tiles [first, end) of a
// family ("house-*"), to name that run; empty when none says so.
std::string manifest_of_run(const std::string& folder, const std::string& family, long long first, long long end);

// A sheet run about to write `paths` (its sheet, tilesets, maps...) marks
// stale each finished world manifest in their folders (world.json,
// world_K.json) that lists one of those files: "complete": false and why,
// naming `own`, the run's manifest. Returns how many were marked.
int mark_stale_world_manifests(const std::vector<std::string>& paths, const std::string& own);
