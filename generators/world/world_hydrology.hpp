#pragma once
#include "generators/world/world_patch.hpp"

#include <cstdint>
#include <utility>
#include <vector>

// Where the world's water runs, found on the whole world at once (a river's
// source may lie far from the chunk it crosses), from the fields alone:
//
// - Hollows in the land are filled up to the level water would spill over
//   at, so that from every corner water finds a way down to the sea. The
//   large and deep ones hold lakes: water on that one level, its rim land
//   on the same level all round.
// - Water runs downhill from cell to cell, never up a level: across flat
//   cells, and down a slope or cliff only straight over it, from its high
//   edge to its low one. Where the cells that drain through a cell pass
//   the threshold a river rises, and runs on to the sea or a lake, joined
//   by its tributaries, wider as its flow grows.
//
// A chunk takes its corners' levels and lakes and its cells' channels from
// here, so it holds exactly what the whole world holds on its cells.
struct WorldHydrology {
    int width = 0, height = 0;  // the world's cells
    // (width + 1) x (height + 1) corners, row by row: every corner's level,
    // hollows filled; and what a lake makes of it.
    enum Wet : std::uint8_t { dry, bank, water, deep };  // bank: the lake's sand
    std::vector<std::uint8_t> level;
    std::vector<std::uint8_t> lake;
    // (cell y x width + x, packed channel) of every river cell, in that order.
    std::vector<std::pair<int, std::uint16_t>> channels;
    std::vector<WorldRiver> rivers;
    std::vector<WorldLake> lakes;
};

WorldHydrology world_hydrology(const WorldRequest& request);

// Writes the levels and lakes over the patch's corners inside the world
// (its levels already settled, its rises not yet found).
void apply_world_lakes(const WorldHydrology& hydrology, WorldPatch& patch);
// Fills the patch's channels (its rises found), and gives the corners of
// the rising cells they cross one ground.
void cut_world_channels(const WorldHydrology& hydrology, WorldPatch& patch);
