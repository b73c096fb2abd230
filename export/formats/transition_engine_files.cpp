#include "export/formats/transition_engine_files.hpp"

#include "export/formats/markup_text.hpp"
#include "generators/transition/transition_terrain.hpp"
#include "canvas/random_source.hpp"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {
std::string hex_colour(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", red(c), green(c), blue(c));
    return text;
}

std::string godot_colour(Colour c) {
    std::ostringstream out;
    out << "Color(" << red(c) / 255.0 << ", " << green(c) / 255.0 << ", " << blue(c) / 255.0 << ", 1)";
    return out.str();
}

Colour mean_painted(const RenderedTile& tile) {
    long long sum[3] = {0, 0, 0}, count = 0;
    for (int y = 0; y < tile.image.height(); ++y)
        for (int x = 0; x < tile.image.width(); ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * tile.image.width() + x;
            if (!tile.alpha.empty() && tile.alpha[at] == 0) continue;
            const Colour c = tile.image.pixel(x, y);
            if (tile.alpha.empty() && c == 0) continue;
            sum[0] += red(c), sum[1] += green(c), sum[2] += blue(c), ++count;
        }
    if (count == 0) return 0;
    return rgb(static_cast<int>(sum[0] / count), static_cast<int>(sum[1] / count), static_cast<int>(sum[2] / count));
}

// The terrain a Godot tile "is": the one on most of its corners, B on a tie.
int centre_terrain(int mask) {
    const int b = corner_terrain(mask, corner_top) + corner_terrain(mask, corner_right) +
                  corner_terrain(mask, corner_bottom) + corner_terrain(mask, corner_left);
    return b >= 2 ? 1 : 0;
}
}  // namespace

std::vector<TerrainSwatch> terrain_swatches(const RenderSettings& settings, const std::vector<RenderedTile>& tiles,
                                            const RasterImage* ground_sheet) {
    if (settings.fill_set)
        return {{terrain_name(settings.terrain_a), tiles.empty() ? Colour(0) : mean_painted(tiles[0])}};
    const bool whole = static_cast<int>(tiles.size()) >= corner_masks;
    const Colour a = settings.over && ground_sheet ? terrain_mean_colour(*ground_sheet, settings.terrain_a)
                     : whole                       ? mean_painted(tiles[0])
                                                   : 0;
    return {{terrain_name(settings.terrain_a), a},
            {terrain_name(settings.terrain_b), whole ? mean_painted(tiles[corner_masks - 1]) : 0}};
}

std::string tiled_wangsets(const std::vector<TerrainSwatch>& terrains, int tile_count, int id_stride, bool over) {
    const bool fill = terrains.size() == 1;
    const int masks = fill ? 1 : corner_masks;
    std::string name = terrains[0].name;
    if (!fill) name += " / " + terrains[1].name;
    std::ostringstream out;
    out << " <wangsets>\n"
        << "  <wangset name=\"" << xml_attribute_text(name) << "\" type=\"corner\" tile=\"" << (masks - 1) * id_stride
        << "\">\n";
    for (std::size_t c = 0; c < terrains.size(); ++c)
        out << tiled_wangcolor(terrains[c], c == 0 ? (over ? -1 : 0) : (corner_masks - 1) * id_stride);
    for (int k = 0; k < tile_count; ++k) {
        const int mask = k % masks;
        int wangid[8] = {};  // 0 on the edges: a corner set says nothing of them
        wangid[wang_slot_top] = 1 + corner_terrain(mask, corner_top);
        wangid[wang_slot_right] = 1 + corner_terrain(mask, corner_right);
        wangid[wang_slot_bottom] = 1 + corner_terrain(mask, corner_bottom);
        wangid[wang_slot_left] = 1 + corner_terrain(mask, corner_left);
        out << "   <wangtile tileid=\"" << k * id_stride << "\" wangid=\"";
        for (int s = 0; s < 8; ++s) out << (s ? "," : "") << wangid[s];
        out << "\"/>\n";
    }
    out << "  </wangset>\n </wangsets>\n";
    return out.str();
}

std::string tiled_wangcolor(const TerrainSwatch& terrain, int tile) {
    return "   <wangcolor name=\"" + xml_attribute_text(terrain.name) + "\" color=\"" + hex_colour(terrain.colour) +
           "\" tile=\"" + std::to_string(tile) + "\" probability=\"1\"/>\n";
}

GodotKeys godot_terrain_set(const std::vector<TerrainSwatch>& terrains, int set) {
    const std::string prefix = "terrain_set_" + std::to_string(set);
    GodotKeys keys = {{prefix + "/mode", "1"}};  // match corners
    for (std::size_t t = 0; t < terrains.size(); ++t) {
        const std::string terrain = prefix + "/terrain_" + std::to_string(t);
        keys.push_back({terrain + "/name", godot_string(terrains[t].name)});
        keys.push_back({terrain + "/color", godot_colour(terrains[t].colour)});
    }
    return keys;
}

GodotKeys godot_tile_terrain(int mask) {
    auto bit = [mask](int corner) { return std::to_string(corner_terrain(mask, corner)); };
    return {{"0/terrain_set", "0"},
            {"0/terrain", std::to_string(centre_terrain(mask))},
            {"0/terrains_peering_bit/right_corner", bit(corner_right)},
            {"0/terrains_peering_bit/bottom_corner", bit(corner_bottom)},
            {"0/terrains_peering_bit/left_corner", bit(corner_left)},
            {"0/terrains_peering_bit/top_corner", bit(corner_top)}};
}

std::vector<int> tiles_for_corners(const std::vector<int>& corners, int map_size, int variants, std::uint64_t seed,
                                   int masks) {
    RandomSource random(seed);
    std::vector<int> tiles;
    const int side = map_size + 1;
    for (int row = 0; row < map_size; ++row)
        for (int column = 0; column < map_size; ++column) {
            // Cell (column, row) has its top corner at grid point (column, row),
            // its right at (column + 1, row), bottom (column + 1, row + 1) and
            // left (column, row + 1).
            const int mask = corners[row * side + column] * corner_top +
                             corners[row * side + column + 1] * corner_right +
                             corners[(row + 1) * side + column + 1] * corner_bottom +
                             corners[(row + 1) * side + column] * corner_left;
            tiles.push_back(mask + masks * random_below(random, variants));
        }
    return tiles;
}

std::vector<int> island_corners(int map_size, std::uint64_t seed) {
    // A coast of two waves around a circle a little over half the side
    // across, in or out by at most three fortieths of the side: the cells
    // along the border stay A, those at the centre B.
    RandomSource random(seed);
    const double centre = map_size / 2.0, base = 0.275 * map_size;
    double amplitude[2], phase[2];
    for (int k = 0; k < 2; ++k) {
        amplitude[k] = (0.015 + random_below(random, 23) / 1000.0) * map_size;  // 0.015 .. 0.037
        phase[k] = random_below(random, 360) * 3.141592653589793 / 180.0;
    }
    const int side = map_size + 1;
    std::vector<int> corners(static_cast<std::size_t>(side) * side, 0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double dx = x - centre, dy = y - centre, angle = std::atan2(dy, dx);
            const double coast =
                base + amplitude[0] * std::cos(2 * angle + phase[0]) + amplitude[1] * std::cos(3 * angle + phase[1]);
            const bool border = x == 0 || y == 0 || x == map_size || y == map_size;
            corners[static_cast<std::size_t>(y) * side + x] = !border && std::hypot(dx, dy) <= coast;
        }
    return corners;
}

std::vector<int> sample_corner_tiles(int map_size, int variants, std::uint64_t seed, bool fill_set) {
    if (fill_set) {
        const std::vector<int> all_a(static_cast<std::size_t>(map_size + 1) * (map_size + 1), 0);
        return tiles_for_corners(all_a, map_size, variants, seed + 1, 1);
    }
    return tiles_for_corners(island_corners(map_size, seed), map_size, variants, seed + 1);
}

std::string with_corner_layout(const std::string& map, int map_size, int variants, std::uint64_t seed, int id_stride,
                               bool fill_set) {
    const std::vector<int> tiles = sample_corner_tiles(map_size, variants, seed, fill_set);
    std::ostringstream data;
    for (int k = 0; k < map_size * map_size; ++k)
        data << 1 + tiles[k] * id_stride << (k + 1 < map_size * map_size ? "," : "")
             << ((k + 1) % map_size == 0 ? "\n" : "");
    const std::string open = "<data encoding=\"csv\">\n";
    const std::size_t start = map.find(open), end = map.find("</data>");
    if (start == std::string::npos || end == std::string::npos) return map;
    return map.substr(0, start + open.size()) + data.str() + map.substr(end);
}
