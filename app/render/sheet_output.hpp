#pragma once
#include "export/formats/manifest.hpp"
#include "export/render_settings.hpp"
#include "export/tile/tile_render.hpp"

#include <cstdio>
#include <string>
#include <vector>

// The files of a sheet run: the sheet, its Tiled tileset (.tsx) and
// manifest (.json), and on request a Tiled map and a Godot TileSet.
std::vector<std::string> sheet_set_paths(const RenderSettings& settings);

// Writes them all or, when any cannot be made, none: each is made whole
// beside its target before the first replaces anything, and one that then
// fails to take its place puts back those before it. Returns the exit
// code (0, 1 a file could not be written, 2 the sheet is too large, or a
// stop signal's code when one came before anything was replaced).
// `ground_sheet`: the textures the tiles were drawn with.
int write_sheet_set(const RenderSettings& settings, const std::vector<RenderedTile>& tiles,
                    const std::vector<TileRecord>& records, const RasterImage& ground_sheet, std::FILE* report);
