#include "generators/world/world_chunks.hpp"

WorldChunk world_chunk(int w, int h, int index, int count) {
    WorldChunk c;
    c.index = index;
    c.count = count;
    c.columns = 1;
    while (c.columns * c.columns < c.count || c.count % c.columns != 0) ++c.columns;
    c.rows = c.count / c.columns;
    const int column = index % c.columns, row = index / c.columns;
    c.x0 = static_cast<int>(static_cast<long long>(w) * column / c.columns);
    c.y0 = static_cast<int>(static_cast<long long>(h) * row / c.rows);
    c.width = static_cast<int>(static_cast<long long>(w) * (column + 1) / c.columns) - c.x0;
    c.height = static_cast<int>(static_cast<long long>(h) * (row + 1) / c.rows) - c.y0;
    c.stem = c.count == 1 ? "world" : "world_" + std::to_string(index);
    return c;
}
