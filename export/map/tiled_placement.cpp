#include "export/map/tiled_placement.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>

namespace {
constexpr int chunk_cells = 16;        // Tiled keeps a layer's cells in chunks this many a side
constexpr double whole_within = 1e-6;  // what Tiled's divisions leave of a whole pixel

// Qt's rounding of an image's corner: halves go down the screen (and right).
long long qt_round(double v) { return static_cast<long long>(std::floor(v + 0.5)); }
}  // namespace

TiledLayerRows::TiledLayerRows(const MapModel& map, const MapTileLayer& layer) {
    const int tw = map.tile_width, th = map.tile_height;
    tile_height_ = th;
    start_row_ = 0, start_twice_ = 2LL * th;
    // The layer's bounds: the chunks holding a tile. Its draw margins: its
    // tilesets' largest side and offsets.
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
    std::set<int> used;
    for (std::size_t k = 0; k < layer.gids.size() && map.width > 0; ++k) {
        if (layer.gids[k] == 0) continue;
        const int cx = static_cast<int>(k % map.width) / chunk_cells,
                  cy = static_cast<int>(k / map.width) / chunk_cells;
        x0 = std::min(x0, cx), y0 = std::min(y0, cy), x1 = std::max(x1, cx), y1 = std::max(y1, cy);
        if (const int t = map_tileset_of(map, layer.gids[k]); t >= 0) used.insert(t);
    }
    if (x0 == INT_MAX || tw < 1 || th < 1) return;  // nothing drawn
    int largest = 0, right = 0, below = 0;
    for (const int t : used) {
        const MapTileset& s = map.tilesets[t];
        largest = std::max({largest, s.tile_width, s.tile_height});
        right = std::max(right, s.offset_x);
        below = std::max(below, s.offset_y);
    }
    // MapRenderer::drawTileLayer: the bounds on screen, grown by the margins.
    const int rx = x0 * chunk_cells, ry = y0 * chunk_cells, rh = (y1 - y0 + 1) * chunk_cells;
    const int origin_x = map.height * tw / 2;
    const double exposed_x = (rx - (ry + rh)) * tw / 2 + origin_x - (right + largest - tw);
    const double exposed_y = (rx + ry) * th / 2 - below;
    // IsometricRenderer::drawTileLayer: the row to start from, in its own doubles.
    const double tile_y = exposed_y / th, tile_x = (exposed_x - origin_x) / tw;
    long long ix = static_cast<long long>(std::floor(tile_y + tile_x));
    long long iy = static_cast<long long>(std::floor(tile_y - tile_x));
    const double start_x = static_cast<double>(ix - iy) * tw / 2 + origin_x - tw / 2;
    double start_y = static_cast<double>(ix + iy) * th / 2 + th;
    if (start_y - exposed_y > th / 2) {  // the start lies in the upper half of a tile: a row up
        if (exposed_x - start_x < tw / 2) --ix;
        else --iy;
        start_y -= th / 2;  // Tiled's whole-number half, short by a half when th is odd
    }
    start_row_ = ix + iy;
    start_twice_ = static_cast<long long>(start_y * 2);
}

int TiledLayerRows::bottom(int row) const {
    const long long twice = start_twice_ + (row - start_row_) * tile_height_;
    return static_cast<int>(qt_round(twice / 2.0));
}

std::pair<double, double> tiled_object_corner(const MapModel& map, const MapTileset& tileset, const MapObject& o) {
    // IsometricRenderer::pixelToScreenCoords, then the object's alignment
    // (bottom) and CellRenderer's offset.
    const int tw = map.tile_width, th = map.tile_height;
    const int origin_x = map.height * tw / 2;
    const double tile_y = o.y / th, tile_x = o.x / th;
    const double sx = (tile_x - tile_y) * tw / 2 + origin_x, sy = (tile_x + tile_y) * th / 2;
    return {sx - o.width / 2.0 + tileset.offset_x, sy - o.height + tileset.offset_y};
}

std::optional<std::pair<int, int>> tiled_object_pixel(const MapModel& map, const MapTileset& tileset,
                                                      const MapObject& object) {
    const auto [x, y] = tiled_object_corner(map, tileset, object);
    if (!(std::abs(x) < 1e9 && std::abs(y) < 1e9)) return std::nullopt;
    const long long px = qt_round(x), py = qt_round(y);
    if (std::abs(x - px) > whole_within || std::abs(y - py) > whole_within) return std::nullopt;
    return std::pair{static_cast<int>(px), static_cast<int>(py)};
}

std::pair<double, double> tiled_object_point(const MapModel& map, int sx, int sy) {
    // Screen x counts W / 2 a step along x less y, screen y H / 2 along x plus y;
    // a map pixel is 1 / H of a step.
    const double across = static_cast<double>(sx - map.height * map.tile_width / 2) * map.tile_height / map.tile_width;
    return {sy + across, sy - across};
}
