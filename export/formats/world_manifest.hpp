#pragma once
#include "export/render_settings.hpp"
#include "generators/world/world_chunks.hpp"
#include "generators/world/world_layout.hpp"
#include "export/world/world_sheets.hpp"

#include <string>
#include <utility>
#include <vector>

// A world's (or chunk's) manifest, STEM.json: the seed, size, chunk and
// every setting; how many tiles of each kind and cells of each layer it
// places; each tileset's tiles with the settings that draw each again
// alone; every object; the whole world's rivers (each from its source to
// its mouth, a tributary to the cell of the river it joins) and lakes, the
// same in every chunk; and every file written beside it with its size and
// content hash, so a merge can trust them. `tile_height`: the map's
// diamond height.
std::string world_manifest(const RenderSettings& run, const WorldChunk& chunk, const WorldMap& map,
                           const WorldLayout& layout, const std::vector<const WorldSheet*>& sheets,
                           const std::vector<std::pair<std::string, std::string>>& files, int tile_height);
