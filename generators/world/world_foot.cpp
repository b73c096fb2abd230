#include "generators/world/world_foot.hpp"

#include "generators/slope/slope_set.hpp"
#include "generators/world/world_layout.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// A cell's diamond at a width and the ground over it.
struct Cell {
    int iso_width;
    double half_w, half_h;
    std::array<int, 4> rises;  // of its corners top, right, bottom, left
    int low_rise, mask;        // its lowest corner's rise; its corners above it, as slope masks say
    // From the cell's middle to a screen offset, in cells along x and y.
    double along_x(double across, double down) const { return (across / half_w + down / half_h) / 2; }
    double along_y(double across, double down) const { return (down / half_h - across / half_w) / 2; }
    int rise_at(int across, int down) const {
        if (mask == 0) return low_rise;
        const double u = std::clamp(0.5 + along_x(across, down), 0.0, 1.0);
        const double v = std::clamp(0.5 + along_y(across, down), 0.0, 1.0);
        const int top = *std::max_element(rises.begin(), rises.end());
        return low_rise + static_cast<int>(std::lround(slope_surface_height(mask, u, v) * (top - low_rise)));
    }
    // Whether the sprite keeps inside the column and behind both front
    // edges, each lifted on screen as far as it stands above the foot.
    bool fits(const SpriteReach& r, int across, int down) const {
        const int half = iso_width / 2;
        if (across - r.left < 1 - half || across + r.right > half) return false;
        const double margin = world_front_margin(iso_width), rise = rise_at(across, down);
        const double right_edge = std::max(rises[1], rises[2]) - rise, left_edge = std::max(rises[2], rises[3]) - rise;
        return along_x(across, down) + r.along_x + right_edge / (2 * half_h) <= 0.5 - margin &&
               along_y(across, down) + r.along_y + left_edge / (2 * half_h) <= 0.5 - margin;
    }
};

}  // namespace

double world_front_margin(int iso_width) { return 4.0 / iso_width; }

WorldFoot world_foot(const WorldMap& map, const WorldObject& o, int iso_width, const SpriteReach& reach) {
    const int cx = o.x - map.x0, cy = o.y - map.y0;
    // Top, right, bottom, left: the slope masks' corner bits 1, 2, 4, 8.
    const std::array<int, 4> levels = {map.corner(cx, cy).level, map.corner(cx + 1, cy).level,
                                       map.corner(cx + 1, cy + 1).level, map.corner(cx, cy + 1).level};
    const int low = *std::min_element(levels.begin(), levels.end());
    Cell cell{iso_width, iso_width / 2.0, iso_width / 4.0, {}, world_level_rise(low, map.levels, iso_width), 0};
    for (int k = 0; k < 4; ++k) {
        cell.rises[static_cast<std::size_t>(k)] = world_level_rise(levels[static_cast<std::size_t>(k)], map.levels, iso_width);
        if (levels[static_cast<std::size_t>(k)] > low) cell.mask |= 1 << k;
    }
    WorldFoot foot;
    const double u = o.at_x / 256.0, v = o.at_y / 256.0;
    foot.across = static_cast<int>(std::lround((u - v) * cell.half_w));
    foot.down = static_cast<int>(std::lround((u + v - 1) * cell.half_h));
    // A mountain stands on its footprint's level, a crag on a cliff on its foot.
    if (o.slice >= 0) {
        foot.rise = world_level_rise(o.level, map.levels, iso_width);
        return foot;
    }
    // Drawn in towards the middle in steps, to the first place it fits.
    const int across = foot.across, down = foot.down;
    for (int k = 16; k > 0 && !cell.fits(reach, foot.across, foot.down); --k) {
        foot.across = across * (k - 1) / 16;
        foot.down = down * (k - 1) / 16;
    }
    foot.rise = o.kind == WorldObjectKind::mountain ? world_level_rise(o.level, map.levels, iso_width)
                                                    : cell.rise_at(foot.across, foot.down);
    return foot;
}
