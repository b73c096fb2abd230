#include "export/surface_maps.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {
std::uint8_t encoded(float component) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(127.5 * (component + 1.0)), 0L, 255L));
}
double decoded(std::uint8_t byte) { return byte / 127.5 - 1.0; }
}  // namespace

SurfaceImages surface_images(const SurfaceMap& map, int left, int top, int width, int height) {
    SurfaceImages out;
    out.normals = RasterImage(width, height);
    const int w = out.normals.width(), h = out.normals.height();
    out.heights.assign(static_cast<std::size_t>(w) * h, 0);
    const std::uint8_t flat[3] = {encoded(0.0f), encoded(0.0f), encoded(1.0f)};
    // Most of a tile is flat ground or nothing: every row starts flat, and
    // only the pixels a surface painted are worked out.
    std::vector<std::uint8_t> flat_row(3 * static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) std::copy_n(flat, 3, &flat_row[3 * static_cast<std::size_t>(x)]);
    const int x_begin = std::max(0, -left), x_end = std::min(w, map.width() - left);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = out.normals.row(y);
        std::copy(flat_row.begin(), flat_row.end(), row);
        const int my = top + y;
        if (my < 0 || my >= map.height() || x_begin >= x_end) continue;
        std::uint16_t* heights = &out.heights[static_cast<std::size_t>(y) * w];
        const SurfaceId* ids = map.row(my);
        // A run of one flat surface shares its normal; round ones are worked
        // out a pixel at a time.
        SurfaceId last = 0;
        std::uint8_t last_normal[3] = {flat[0], flat[1], flat[2]};
        for (int x = x_begin; x < x_end; ++x) {
            const int mx = left + x;
            const SurfaceId id = ids[mx];
            if (id == 0) continue;
            if (id != last || map.surface(id).shape != Surface::Shape::plane) {
                const SurfaceNormal n = map.normal(mx, my);
                last_normal[0] = encoded(n.x), last_normal[1] = encoded(n.y), last_normal[2] = encoded(n.z);
                last = id;
            }
            std::copy_n(last_normal, 3, row + 3 * static_cast<std::size_t>(x));
            heights[x] = static_cast<std::uint16_t>(std::min(std::lround(map.height_above_ground(mx, my)), 65535L));
        }
    }
    return out;
}

RasterImage lit_image(const RasterImage& colour, const RasterImage& normals, const Light& light) {
    const double azimuth = light.azimuth * std::numbers::pi / 180.0;
    const double elevation = light.elevation * std::numbers::pi / 180.0;
    const double lx = std::cos(elevation) * std::cos(azimuth), ly = std::cos(elevation) * std::sin(azimuth),
                 lz = std::sin(elevation);
    RasterImage lit = colour;
    for (int y = 0; y < lit.height() && y < normals.height(); ++y) {
        std::uint8_t* c = lit.row(y);
        const std::uint8_t* n = normals.row(y);
        for (int x = 0; x < std::min(lit.width(), normals.width()); ++x, c += 3, n += 3) {
            const double lambert = std::max(0.0, decoded(n[0]) * lx + decoded(n[1]) * ly + decoded(n[2]) * lz);
            const double factor = ambient_light + (1.0 - ambient_light) * lambert;
            for (int k = 0; k < 3; ++k)
                c[k] = static_cast<std::uint8_t>(std::clamp(std::lround(c[k] * factor), 0L, 255L));
        }
    }
    return lit;
}
