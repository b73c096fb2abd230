#pragma once
#include "export/map/map_model.hpp"
#include "export/render_settings.hpp"
#include "generators/world/world_chunks.hpp"
#include "generators/world/world_layout.hpp"
#include "export/world/world_sheets.hpp"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A world's (or chunk's) manifest, STEM.json: the seed, size, chunk and the
// world's own settings (every option that changes its files); how many
// tiles of each kind it places; each tileset with its first gid and its
// tiles, each with the settings that draw it again alone; each layer with
// its cells, row by row, as the gids of the map (0 for none); every object
// with its cell in the map and its gid; and every file written beside it
// with its size and content hash, so a merge can trust them. `model` is the
// map as written, `object_gids` the gid of each of `map`'s objects.
// `streamed`: files written as they were made, never held, by their sizes
// and hashes.
struct StreamedFile {
    std::string name;
    std::uint64_t bytes = 0;
    std::string fnv1a64;
};
std::string world_manifest(const RenderSettings& run, const WorldChunk& chunk, const WorldMap& map,
                           const WorldLayout& layout, const std::vector<const WorldSheet*>& sheets,
                           const MapModel& model, const std::vector<std::uint32_t>& object_gids,
                           const std::vector<std::pair<std::string, std::string>>& files,
                           const std::vector<StreamedFile>& streamed = {});

// The same manifest saying it is not complete (what stands while its files
// are put in place, so a run killed then leaves no manifest that says it is
// whole), or, with `why`, stale: a later run replaced files it lists. Empty
// when `text` is not a finished world manifest.
std::string world_manifest_not_complete(const std::string& text, const std::string& why = "");
