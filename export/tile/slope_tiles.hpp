#pragma once
#include "export/problem.hpp"
#include "export/tile/tile_request.hpp"

#include <optional>
#include <string>

// How a slope run numbers its tiles: as a transition run does (index =
// corner mask + 16 x variant, a set bit a high corner); over tiles, B laid
// over A on the ground, index = high corners + 16 x B's corners + 256 x
// variant.

// What tile `index` of a slope run draws.
SlopeTileSpec slope_tile_spec(const TileRequest& settings, int index);
// The step a slope run's tiles rise, in pixels, at its width.
int run_slope_step(const TileRequest& settings);

// Reads "ground:N" or "rock:N", or for cliffs "GROUND,ROCK" and for over
// tiles "A,B" (each ground:N or rock:N), into the settings; the problem in a
// sentence when it does not.
Problem read_slope_terrains(TileChoice& settings, const std::string& text);
