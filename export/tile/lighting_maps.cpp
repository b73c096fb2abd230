#include "export/tile/lighting_maps.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {
// 127.5 (n + 1) to the nearest byte; a unit normal's parts never leave -1..1.
std::uint8_t encoded(float component) {
    return static_cast<std::uint8_t>(std::clamp(127.5f * (component + 1.0f) + 0.5f, 0.0f, 255.0f));
}
double decoded(std::uint8_t byte) { return byte / 127.5 - 1.0; }

// Nothing is below the ground; from 0 up, adding a half and cutting rounds
// as lround does (exactly: a float plus a half is exact in a double).
std::uint16_t rounded_height(float h) {
    h = h > 0.0f ? h : 0.0f;
    return static_cast<std::uint16_t>(static_cast<double>(h < 65535.0f ? h : 65535.0f) + 0.5);
}

// Normals to bytes, one array a component stride apart, a few at a time.
void encode_normals(std::size_t count, const float* __restrict nx, const float* __restrict ny,
                    const float* __restrict nz, std::size_t stride, std::uint8_t* __restrict bytes) {
#pragma GCC ivdep
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = encoded(nx[i]), bytes[stride + i] = encoded(ny[i]), bytes[2 * stride + i] = encoded(nz[i]);
}

void round_heights(std::size_t count, const float* __restrict raised, std::uint16_t* __restrict rounded) {
    for (std::size_t i = 0; i < count; ++i) rounded[i] = rounded_height(raised[i]);
}

// Every surface's plane normal, encoded, three bytes a surface: a plane
// shows it everywhere. A mountain names thousands, so they are worked out
// together.
std::vector<std::uint8_t> plane_normals(const SurfaceIds& map) {
    const std::size_t count = map.surface_count();
    NormalRow row(Surface::Shape::plane);
    row.resize(static_cast<int>(count));
    for (std::size_t id = 0; id < count; ++id)
        row.set_direction(static_cast<int>(id), map.surface(static_cast<SurfaceId>(id)).direction);
    row.work_out(static_cast<int>(count));
    std::vector<std::uint8_t> planar(3 * count), bytes(3 * count);
    encode_normals(count, row.x.data(), row.y.data(), row.z.data(), count, planar.data());
    for (std::size_t id = 0; id < count; ++id)
        for (std::size_t k = 0; k < 3; ++k) bytes[3 * id + k] = planar[k * count + id];
    return bytes;
}

// The gain that takes each pixel's painted light out. The darkest painted
// light is a generator's black edge; a floor keeps its few pixels from taking
// every rounding error up with them. Worked out a pixel at a time and only
// then spread over the three channels, so both loops vectorise.
void pixel_gains(std::size_t count, const float* __restrict light, float* __restrict gains) {
    constexpr float darkest = 0.05f;
    for (std::size_t i = 0; i < count; ++i) gains[i] = 1.0f / (light[i] > darkest ? light[i] : darkest);
}

void channel_gains(std::size_t count, const float* __restrict gains, float* __restrict channels) {
    for (std::size_t i = 0; i < count; ++i) channels[3 * i] = channels[3 * i + 1] = channels[3 * i + 2] = gains[i];
}

// Each byte over its light, rounded and held within 0..255.
void unlight(std::size_t count, std::uint8_t* __restrict bytes, const float* __restrict gains) {
    for (std::size_t i = 0; i < count; ++i) {
        const float v = static_cast<float>(bytes[i]) * gains[i] + 0.5f;
        bytes[i] = static_cast<std::uint8_t>(v < 255.0f ? v : 255.0f);
    }
}

// A row's pixels of one round shape, and their columns.
struct Gathered {
    Gathered(Surface::Shape shape, std::size_t width) : normals(shape), columns(width) {
        normals.resize(static_cast<int>(width));
    }
    NormalRow normals;
    std::vector<int> columns;
    std::size_t count = 0;
};
}  // namespace

LightingMaps lighting_maps_of(const SurfaceIds& map, int left, int top, int width, int height) {
    LightingMaps out;
    // Most of a tile is flat ground or nothing: the images start flat, and
    // only the pixels a surface painted are worked out.
    out.normals = RasterImage(width, height, rgb(encoded(0.0f), encoded(0.0f), encoded(1.0f)));
    const int w = out.normals.width(), h = out.normals.height();
    out.heights.assign(static_cast<std::size_t>(w) * h, 0);
    const std::vector<std::uint8_t> planes = plane_normals(map);
    // Each row: the columns a surface painted are listed (without a branch:
    // the leaves of a tree leave many small holes), a plane's pixels take its
    // normal, a round surface's are gathered by shape, worked out and
    // encoded together, and put back where they came from.
    const auto n = static_cast<std::size_t>(w);
    std::array<Gathered, 2> rounds{Gathered(Surface::Shape::dome, n), Gathered(Surface::Shape::upright, n)};
    std::vector<int> painted(n);
    std::vector<float> raised(n);
    std::vector<std::uint16_t> rounded(n);
    std::vector<std::uint8_t> bytes(3 * n);
    for (int y = std::max(0, -top); y < std::min(h, map.height() - top); ++y) {
        const int my = top + y;
        const int x_first = std::max(map.first_marked(my) - left, 0);
        const int x_last = std::min(map.last_marked(my) - left, w - 1);
        const SurfaceId* ids = map.row(my) + left;
        std::size_t count = 0;
        for (int x = x_first; x <= x_last; ++x) {
            painted[count] = x;
            count += ids[x] != 0;
        }
        if (count == 0) continue;
        std::uint8_t* row = out.normals.row(y);
        const int sx = left - map.origin_x(), sy = my - map.origin_y();
        for (std::size_t i = 0; i < count; ++i) {
            const int x = painted[i];
            const SurfaceId id = ids[x];
            const Surface& s = map.surface(id);
            raised[i] = signed_height_at(s, sx + x, sy);
            if (s.shape != Surface::Shape::plane) {
                Gathered& g = rounds[s.shape == Surface::Shape::dome ? 0 : 1];
                g.normals.set(static_cast<int>(g.count), s, sx + x, sy);
                g.columns[g.count++] = x;
                continue;
            }
            std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
            p[0] = planes[3 * id], p[1] = planes[3 * id + 1], p[2] = planes[3 * id + 2];
        }
        round_heights(count, raised.data(), rounded.data());
        std::uint16_t* heights = &out.heights[static_cast<std::size_t>(y) * n];
        for (std::size_t i = 0; i < count; ++i) heights[painted[i]] = rounded[i];
        for (Gathered& g : rounds) {
            if (g.count == 0) continue;
            g.normals.work_out(static_cast<int>(g.count));
            encode_normals(g.count, g.normals.x.data(), g.normals.y.data(), g.normals.z.data(), n, bytes.data());
            for (std::size_t i = 0; i < g.count; ++i) {
                std::uint8_t* p = row + 3 * static_cast<std::size_t>(g.columns[i]);
                p[0] = bytes[i], p[1] = bytes[n + i], p[2] = bytes[2 * n + i];
            }
            g.count = 0;
        }
    }
    return out;
}

RasterImage albedo_of(const RasterImage& colour, const SurfaceIds& map, int left, int top) {
    RasterImage albedo = colour;
    if (!map.keeps_light()) return albedo;
    // Each row's marked columns, without a branch (light 1 gains 1 and
    // leaves a byte as it was): a gain a channel, then every channel at once.
    std::vector<float> gains(static_cast<std::size_t>(albedo.width())), channels(3 * gains.size());
    for (int y = std::max(0, -top); y < std::min(albedo.height(), map.height() - top); ++y) {
        const int my = top + y;
        const int x_first = std::max(map.first_marked(my) - left, 0);
        const int x_last = std::min(map.last_marked(my) - left, albedo.width() - 1);
        if (x_first > x_last) continue;
        const auto count = static_cast<std::size_t>(x_last - x_first + 1);
        pixel_gains(count, map.light_row(my) + left + x_first, gains.data());
        channel_gains(count, gains.data(), channels.data());
        unlight(3 * count, albedo.row(y) + 3 * static_cast<std::size_t>(x_first), channels.data());
    }
    return albedo;
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
