#pragma once
#include <string>

// Where one terrain gives way to the next, on fields normalised to 0..1.
// Elevation picks water, shore, land, rock and snow; on land, moisture
// picks meadow (dry), grass or forest (wet).
struct WorldThresholds {
    double deep_water = 0.30, water = 0.42, shore = 0.46;  // below each: that terrain
    double rock = 0.74, snow = 0.86;                       // at or above each: that terrain
    double meadow = 0.38, forest = 0.62;                   // moisture: below meadow, at or above forest
    bool operator==(const WorldThresholds&) const = default;
};

// The world's own options: its size, levels, palette, thresholds and
// rivers, and whether its map is rendered.
struct WorldShape {
    int width = 64, height = 64;  // cells
    int levels = 3;               // levels above the water's; 0: a flat world
    std::string palette;          // empty: the default
    WorldThresholds thresholds;
    // The most river systems a 64 x 64 area of the world holds (at least
    // one in a smaller world): the largest that reach the sea or a lake,
    // each with its tributaries; 0: none.
    int rivers = 6;
    // How many cells must drain through a cell before a river rises there.
    int river_threshold = 12;
    // The most settlements a 64 x 64 area of the world holds (at least one
    // in a smaller world, where there is room by water), joined by roads;
    // 0: none, and houses stand alone.
    int settlements = 0;
    bool no_picture = false;  // engine files only: no render of the map (world.png)
};
