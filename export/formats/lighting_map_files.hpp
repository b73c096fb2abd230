#pragma once
#include "export/tile/tile_request.hpp"
#include "export/formats/sheet_layout.hpp"
#include "export/tile/lighting_maps.hpp"

#include <cstdint>
#include <string>
#include <vector>

// The lighting-map files written beside an image: the file name's ending
// ("_n.png", "_h.png", "_lit.png", "_a.png") and its bytes (none if encoding failed).
struct LightingMapFile {
    std::string suffix;
    std::vector<std::uint8_t> bytes;
};

// The endings of the map files the settings ask for, in the order written.
std::vector<std::string> lighting_map_suffixes(const Lighting& settings);

// "dir/house-0007.png" with "_n.png": "dir/house-0007_n.png" (also for a BMP).
std::string lighting_map_file_name(const std::string& image_file, const std::string& suffix);

// The files the settings ask for, every one with the colour image's alpha
// (or none, when the colour has none).
std::vector<LightingMapFile> encode_lighting_map_files(const Lighting& settings, const RasterImage& colour,
                                                       const std::vector<std::uint8_t>* alpha,
                                                       const LightingMaps& maps);

// The tiles' maps laid out exactly as compose_sheet lays out their colour
// (the colour sheet): flat ground at height 0 wherever no tile painted, and
// the albedo, when the tiles have one, the colour's there.
LightingMaps compose_lighting_map_sheet(const std::vector<RenderedTile>& tiles, const SheetLayout& layout,
                                        const RasterImage& colour);
