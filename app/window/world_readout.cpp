#include "app/window/world_readout.hpp"

#include "generators/world/world_layout.hpp"

#include <algorithm>
#include <cmath>

std::optional<ShownCell> cell_at_pixel(const WorldMap& map, int levels, int iso_width, int image_height, int px,
                                       int py) {
    const int half_w = iso_width / 2, tile_h = iso_width / 2;
    if (map.width <= 0 || map.height <= 0 || half_w <= 0 || tile_h < 2) return std::nullopt;
    // The frame grows upwards by the highest layer's rise, and by nothing else.
    const int top = image_height - (map.width + map.height) * tile_h / 2;
    int highest = 0;
    for (const WorldCorner& c : map.corners) highest = std::max<int>(highest, c.level);
    for (int level = highest; level >= 0; --level) {
        // On screen, cell (cx, cy)'s top corner is ((cx - cy + height) w/2, (cx + cy) h/2).
        const double sy = py - top + world_level_rise(level, levels, iso_width);
        const double fx = (px + 0.5) / half_w - map.height, fy = (sy + 0.5) / (tile_h / 2.0);
        const int cx = static_cast<int>(std::floor((fy + fx) / 2)), cy = static_cast<int>(std::floor((fy - fx) / 2));
        if (cx < 0 || cy < 0 || cx >= map.width || cy >= map.height) continue;
        const WorldCorner* corners[4] = {&map.corner(cx, cy), &map.corner(cx + 1, cy), &map.corner(cx, cy + 1),
                                         &map.corner(cx + 1, cy + 1)};
        ShownCell cell{map.x0 + cx, map.y0 + cy, 255, map.rise(cx, cy), WorldTerrain::deep_water};
        int top_level = 0;
        for (const WorldCorner* c : corners) {
            cell.level = std::min<int>(cell.level, c->level);
            top_level = std::max<int>(top_level, c->level);
            cell.terrain = std::max(cell.terrain, c->terrain);
        }
        if (level >= cell.level && level <= top_level) return cell;
    }
    return std::nullopt;
}

std::string cell_readout(const ShownCell& cell) {
    std::string terrain = world_terrain_name(cell.terrain);
    std::replace(terrain.begin(), terrain.end(), '_', ' ');
    const char* rise = cell.rise == 1 ? " slope" : cell.rise == 2 ? " cliff" : "";
    return "cell " + std::to_string(cell.x) + ", " + std::to_string(cell.y) + " \u00b7 level " +
           std::to_string(cell.level) + " \u00b7 " + terrain + rise;
}
