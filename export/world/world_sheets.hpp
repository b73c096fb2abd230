#pragma once
#include "export/formats/sheet_layout.hpp"
#include "export/problem.hpp"
#include "export/tile/rendered_tile.hpp"
#include "export/tile/tile_request.hpp"
#include "export/formats/world_file_names.hpp"
#include "export/world/world_gameplay.hpp"
#include "generators/world/world_layout.hpp"

#include <array>
#include <string>
#include <utility>
#include <vector>

// A tileset of a world: a sheet of the tiles it places, each of `frames`
// cells along its row (moving water), with its Tiled tileset and Godot 4
// TileSet beside it and its Godot 3 TileSet in Godot 3's folder
// (world_file_names.hpp). Tile k of the set is cell k x frames.
struct WorldSheet {
    std::string stem;                 // what its files are named after
    std::vector<RenderedTile> tiles;  // in the set's order
    int frames = 1;
    SheetLayout layout;
    Sheet sheet;
    // Per tile: what it is, or empty for a sheet of objects (the terrain
    // sets follow from it); and its corners' terrains (terrain k as k + 1,
    // top, right, bottom and left), for the manifest.
    std::vector<WorldTileKey> keys;
    std::vector<std::array<int, 4>> corners;
    std::vector<std::string> tile_names;  // what each tile is, for the tileset's "name" property
    // Per tile, what the world laid on it beside its record (objects'
    // sprites), or empty.
    std::vector<std::vector<std::string>> finishes;
    std::vector<WorldTileFacts> facts;    // what a game needs of each (world_gameplay.hpp); none: nothing said

    std::string image_file() const { return stem + ".png"; }
    std::string tileset_file() const { return stem + ".tsx"; }
    std::string godot_file() const { return stem + ".tres"; }
    std::string godot3_file() const { return world_godot3_path(stem + ".tres"); }
};

// Lays the tiles out and composes the sheet; the problem in a sentence when
// the sheet would be too large.
Problem compose_world_sheet(WorldSheet& sheet, int iso_width);

// The files beside a world sheet, as (file name, text or bytes): its PNG,
// .tsx and Godot 4 .tres (both with the terrain sets of world_terrain_sets.hpp
// when its tiles are of terrains), the lighting maps the run asks for, laid
// out as the sheet, and in Godot 3's folder its .tres (moving tiles at their
// first frame) and copies of the PNG and its normals.
std::vector<std::pair<std::string, std::string>> world_sheet_files(const WorldSheet& sheet, const TileDrawing& run,
                                                                   const std::vector<std::string>& terrain_names,
                                                                   const std::vector<Colour>& terrain_colours);
