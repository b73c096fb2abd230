#pragma once
#include "generators/world/world_ground.hpp"

#include <array>
#include <cstdint>
#include <optional>

// Mountains on the high ground: wherever the world reaches rock or snow, a
// mountain may stand with its foot spread over the cells around it. Sites
// closer than two cells compete, the larger footprint and then the higher
// draw standing, so mountains overlap into ranges that follow the rock.
// Snow-topped mountains stand on snow, bare ones on rock, the largest deep
// inside it.
//
// A mountain's footprint is the 3 x 3 block around a cell, its foot on the
// cell's middle; where that does not fit, a smaller mountain's is the 2 x 2
// block whose front cell is the cell, its foot on that cell's top corner;
// where neither does, a crag stands on the cell alone, within its diamond,
// on flat rock or on a cliff that falls towards the viewer (the crag in
// front of its face).
// None of a footprint is water; the foot stands on the highest ground of
// the cells beside and in front of it (where the slices stand), with no
// cliff in front of them rising above it, so on a massif of terraces a
// mountain stands on an upper one and the cliffs below show in front of
// it; those behind may rise or fall; nothing else stands in a footprint.
inline constexpr int world_mountain_spacing = 1;  // cells between two mountains' cells, at the least

// A mountain stands as slices, each a column half a cell wide, in the
// front cell of the footprint in that column: everything a slice covers
// then lies behind that cell, so it sorts with what stands around it as
// cells do (world_foot.hpp).
struct MountainSlice {
    bool small;  // of a 2 x 2 footprint
    int strip;   // its column, in half cells from the foot's: strip s spans s .. s + 1
    int dx, dy;  // its cell, from the mountain's
};
inline constexpr std::array<MountainSlice, 10> world_mountain_slices = {{
    {false, -3, -1, 1},
    {false, -2, 0, 1},
    {false, -1, 1, 1},
    {false, 0, 1, 1},
    {false, 1, 1, 0},
    {false, 2, 1, -1},
    {true, -2, -1, 0},
    {true, -1, 0, 0},
    {true, 0, 0, 0},
    {true, 1, 0, -1},
}};

// The mountain whose footprint is the patch's cell (x, y)'s, if one is:
// its cell, level and look, its slice the first of its footprint's (its
// foot unset), or a crag (slice -1) standing on the cell's middle.
std::optional<WorldObject> world_mountain_at(const WorldGround& ground, std::uint64_t seed, int x, int y);
// How far the rule reads from the cell, in cells.
int world_mountain_reach();
// Whether cell (x, y) of the patch lies in the footprint of the mountain of cell (mx, my).
bool world_mountain_covers(const WorldObject& mountain, int mx, int my, int x, int y);
