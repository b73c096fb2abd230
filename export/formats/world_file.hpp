#pragma once
#include "export/problem.hpp"
#include <optional>
#include <string>
#include <vector>

// Tiled's .world: chunk maps of one isometric world placed side by side so
// Tiled opens them as one. Tiled puts a map's bounding box, ((w + h) W/2 by
// (w + h) H/2 pixels for w x h cells, cell (0, 0)'s top corner h W/2 in from
// its left) at the (x, y) the .world gives it; a chunk of cells from
// (x0, y0) then lies at x = (x0 - y0 + world height - h) W/2 and
// y = (x0 + y0) H/2, so every cell lands where the whole map has it.

struct WorldChunkMap {
    std::string file;           // the chunk's .tmx, relative to the .world
    int x0 = 0, y0 = 0;         // its first cell, in world cells
    int width = 0, height = 0;  // cells
};

// Why the chunks cannot be placed, or nothing: a chunk must lie inside the
// world, and a .world places maps on whole pixels (with an odd tile height
// a chunk must start an even number of cells down the world's axes).
Problem tiled_world_problem(const std::vector<WorldChunkMap>& chunks, int world_width, int world_height, int tile_width,
                            int tile_height);

// The .world's JSON text.
std::string tiled_world(const std::vector<WorldChunkMap>& chunks, int world_height, int tile_width, int tile_height);
