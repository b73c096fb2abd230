#pragma once
#include "generators/world/world_map.hpp"

#include <cstdint>
#include <vector>

// The sprites a world's objects are drawn as, kind by kind. A look is one
// sprite drawn by its kind's painter at a share of the map's tile width:
// trees by species and size, mountains by cover and size. Where objects
// stand picks a look by what the place needs; the sprites are drawn from
// the same rows, so the two never disagree.
enum class WorldLookVariety : std::uint8_t {
    plain,       // a broadleaf tree, a bare rock mountain, a house, a bush, a boulder
    conifer,     // a tree
    snowy,       // a mountain with a snow-covered top
    crag,        // a mountain small enough for one cell
    snowy_crag,  // the same, its top under snow
};

struct WorldLook {
    WorldLookVariety variety = WorldLookVariety::plain;
    int size = 0;             // 0 the smallest of its variety, up by one
    int width_percent = 100;  // the tile width it is drawn at, in hundredths of the map's
};

// A kind's looks; an object's look indexes them.
const std::vector<WorldLook>& world_looks(WorldObjectKind kind);
int world_object_looks(WorldObjectKind kind);
// The sizes a variety of a kind comes in (0 if none).
int world_look_sizes(WorldObjectKind kind, WorldLookVariety variety);
// One of the looks of that variety and size (clamped to those it has),
// which one by `pick`.
int world_look(WorldObjectKind kind, WorldLookVariety variety, int size, std::uint64_t pick);
