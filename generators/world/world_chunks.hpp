#pragma once

#include <string>

// A world drawn in chunks: --shard K/N splits it into a grid of N chunk
// maps whose chunks are as square as the world's shape and N allow (a
// square world of 16 makes 4 x 4, a 1 x 9 world of 3 makes 1 x 3), chunk K
// at column K % columns, row K / columns. Each chunk is a map of its own
// whose files are named after it; the whole world, one chunk, is "world".
struct WorldChunk {
    int index = 0, count = 1;
    int columns = 1, rows = 1;
    int x0 = 0, y0 = 0, width = 0, height = 0;  // its cells, in world cells
    std::string stem;                           // "world" or "world_K"
};

// The columns of that grid; 0 when no grid of `count` chunks of at least
// one cell each fits the world.
int world_chunk_columns(int width, int height, int count);

// The most cells one process draws as a world or a chunk: about 2 GB of
// model, layers and objects. Larger worlds are drawn in chunks.
inline constexpr long long largest_world_cells = 2048LL * 2048;

// Chunk `index` of `count` of a world of width x height cells (all empty
// when no grid fits).
WorldChunk world_chunk(int width, int height, int index, int count);
