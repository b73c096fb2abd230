#include "export/formats/slope_engine_files.hpp"

#include "canvas/random_source.hpp"
#include "export/formats/tiled_files.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {
constexpr int hill_map_size = 10;
constexpr int hill_levels = 3;
}  // namespace

std::vector<TerrainSwatch> slope_swatches(const std::vector<RenderedTile>& tiles, bool over) {
    RenderSettings names;  // the swatch colours are the tiles'; the names are the levels'
    // Over tiles show their ground whole where all four corners are B's.
    const std::size_t whole = over ? corner_masks * (corner_masks - 1) : 0;
    const std::vector<RenderedTile> flat_and_raised(tiles.begin() + static_cast<long>(std::min(whole, tiles.size())),
                                                    tiles.end());
    std::vector<TerrainSwatch> levels = terrain_swatches(names, flat_and_raised);
    TerrainSwatch &low = levels[0], &high = levels[1];
    low.name = "low", high.name = "high";
    // Both are the same ground: the editors' swatches tell them apart by light.
    const auto lighter = [](Colour c) { return rgb((red(c) + 255) / 2, (green(c) + 255) / 2, (blue(c) + 255) / 2); };
    high.colour = lighter(high.colour);
    return levels;
}

std::vector<int> hill_corner_levels(int map_size, int levels, std::uint64_t seed) {
    RandomSource random(seed);
    const int side = map_size + 1;
    const double middle = map_size / 2.0;
    const double cx = middle + (random_below(random, 3) - 1) * 0.5, cy = middle + (random_below(random, 3) - 1) * 0.5;
    const double radius = map_size * 0.45;
    // Wanted heights: a rounded, ragged mound...
    std::vector<int> wanted(static_cast<std::size_t>(side) * side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double r = std::hypot(x - cx, y - cy) / radius;
            const double ragged = (random_below(random, 100) / 100.0 - 0.5) * 0.9;
            const int level = static_cast<int>(std::floor(levels * (1.0 - r) + 0.5 + ragged));
            const bool border = x == 0 || y == 0 || x == map_size || y == map_size;
            wanted[static_cast<std::size_t>(y) * side + x] = border ? 0 : std::clamp(level, 0, levels - 1);
        }
    // ...lowered until no two corners of a cell differ by more than a level:
    // each corner at most its wanted height, and at most one above any corner
    // a cell away.
    std::vector<int> height(wanted.size());
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            int lowest = levels;
            for (int qy = 0; qy < side; ++qy)
                for (int qx = 0; qx < side; ++qx)
                    lowest = std::min(lowest, wanted[static_cast<std::size_t>(qy) * side + qx] +
                                                  std::max(std::abs(qx - x), std::abs(qy - y)));
            height[static_cast<std::size_t>(y) * side + x] = lowest;
        }
    return height;
}

std::vector<LevelledCell> cells_for_levels(const std::vector<int>& levels, int map_size, int variants,
                                           std::uint64_t seed, const std::vector<int>& grounds) {
    RandomSource random(seed);
    const int side = map_size + 1;
    std::vector<LevelledCell> cells;
    for (int row = 0; row < map_size; ++row)
        for (int column = 0; column < map_size; ++column) {
            // Top (column, row), right (column + 1, row), bottom (column + 1,
            // row + 1) and left (column, row + 1), as a transition map's.
            const int top = levels[row * side + column], right = levels[row * side + column + 1];
            const int bottom = levels[(row + 1) * side + column + 1], left = levels[(row + 1) * side + column];
            const int base = std::min({top, right, bottom, left});
            const int mask = (top > base ? corner_top : 0) | (right > base ? corner_right : 0) |
                             (bottom > base ? corner_bottom : 0) | (left > base ? corner_left : 0);
            const int variant = random_below(random, variants);
            if (grounds.empty()) {
                cells.push_back({base, mask + corner_masks * variant});
                continue;
            }
            const int b_corners = grounds[row * side + column] * corner_top +
                                  grounds[row * side + column + 1] * corner_right +
                                  grounds[(row + 1) * side + column + 1] * corner_bottom +
                                  grounds[(row + 1) * side + column] * corner_left;
            cells.push_back({base, mask + corner_masks * (b_corners + corner_masks * variant)});
        }
    return cells;
}

std::string slope_hill_map(const SheetLayout& layout, int tile_count, const std::string& tileset_file, int step,
                           int variants, std::uint64_t seed, bool over, int id_stride) {
    const int n = hill_map_size;
    const std::vector<LevelledCell> cells =
        cells_for_levels(hill_corner_levels(n, hill_levels, seed), n, variants, seed + 1,
                         over ? island_corners(n, seed) : std::vector<int>{});
    std::string map = tiled_map(layout, tile_count, tileset_file, n, id_stride);
    std::ostringstream layers;
    for (int level = 0; level < hill_levels; ++level) {
        layers << " <layer id=\"" << level + 1 << "\" name=\"Level " << level << "\" width=\"" << n << "\" height=\""
               << n << "\"" << (level > 0 ? " offsety=\"" + std::to_string(-level * step) + "\"" : "") << ">\n"
               << "  <data encoding=\"csv\">\n";
        for (int k = 0; k < n * n; ++k) {
            const int gid = cells[k].level == level ? 1 + cells[k].tile * id_stride : 0;
            layers << gid << (k + 1 < n * n ? "," : "") << ((k + 1) % n == 0 ? "\n" : "");
        }
        layers << "</data>\n </layer>\n";
    }
    const std::size_t start = map.find(" <layer "), end = map.find("</map>");
    if (start == std::string::npos || end == std::string::npos) return map;
    map = map.substr(0, start) + layers.str() + map.substr(end);
    const std::string next = "nextlayerid=\"2\"";
    if (const std::size_t at = map.find(next); at != std::string::npos)
        map.replace(at, next.size(), "nextlayerid=\"" + std::to_string(hill_levels + 1) + "\"");
    return map;
}
