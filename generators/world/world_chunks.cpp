#include "generators/world/world_chunks.hpp"

namespace {
// How far from square a chunk of (w / columns) x (h / rows) cells is, as
// the fraction long side / short side: compared by cross-multiplying, so
// no rounding decides between two grids.
struct Squareness {
    long long longer = 1, shorter = 1;
    bool better_than(const Squareness& other) const { return longer * other.shorter < other.longer * shorter; }
    bool same_as(const Squareness& other) const { return longer * other.shorter == other.longer * shorter; }
};
Squareness squareness(int w, int h, int columns, int rows) {
    // A chunk is w / columns across and h / rows down: compare w * rows with h * columns.
    const long long across = static_cast<long long>(w) * rows, down = static_cast<long long>(h) * columns;
    return across >= down ? Squareness{across, down} : Squareness{down, across};
}
}  // namespace

int world_chunk_columns(int w, int h, int count) {
    int best = 0;
    Squareness best_shape;
    for (int columns = 1; columns <= count; ++columns) {
        if (count % columns != 0) continue;
        const int rows = count / columns;
        if (columns > w || rows > h) continue;
        const Squareness shape = squareness(w, h, columns, rows);
        // Of two grids as square as each other, the one of more columns.
        if (best == 0 || shape.better_than(best_shape) || shape.same_as(best_shape)) best = columns, best_shape = shape;
    }
    return best;
}

WorldChunk world_chunk(int w, int h, int index, int count) {
    WorldChunk c;
    c.index = index;
    c.count = count;
    c.columns = world_chunk_columns(w, h, count);
    if (c.columns == 0) return c;  // no grid fits: every chunk empty
    c.rows = c.count / c.columns;
    const int column = index % c.columns, row = index / c.columns;
    c.x0 = static_cast<int>(static_cast<long long>(w) * column / c.columns);
    c.y0 = static_cast<int>(static_cast<long long>(h) * row / c.rows);
    c.width = static_cast<int>(static_cast<long long>(w) * (column + 1) / c.columns) - c.x0;
    c.height = static_cast<int>(static_cast<long long>(h) * (row + 1) / c.rows) - c.y0;
    c.stem = c.count == 1 ? "world" : "world_" + std::to_string(index);
    return c;
}
