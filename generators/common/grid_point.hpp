#pragma once

// A point of a tile's grid: i along u, j along v, each 0 .. half width - 1.
struct GridPoint {
    int i = 0, j = 0;
};
