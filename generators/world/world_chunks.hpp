#pragma once

#include <string>

// A world drawn in chunks: --shard K/N splits it into a grid of N chunk
// maps, as square as N allows (columns the smallest divisor of N at least
// its square root), chunk K at column K % columns, row K / columns. Each
// chunk is a map of its own whose files are named after it; the whole
// world, one chunk, is "world".
struct WorldChunk {
    int index = 0, count = 1;
    int columns = 1, rows = 1;
    int x0 = 0, y0 = 0, width = 0, height = 0;  // its cells, in world cells
    std::string stem;                           // "world" or "world_K"
};

// Chunk `index` of `count` of a world of width x height cells.
WorldChunk world_chunk(int width, int height, int index, int count);
