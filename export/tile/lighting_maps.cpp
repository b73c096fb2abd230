#include "export/tile/lighting_maps.hpp"

#include "canvas/wide_loops.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <memory>
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
WIDE_LOOPS void encode_normals(std::size_t count, const float* __restrict nx, const float* __restrict ny,
                               const float* __restrict nz, std::size_t stride, std::uint8_t* __restrict bytes) {
#pragma GCC ivdep
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = encoded(nx[i]), bytes[stride + i] = encoded(ny[i]), bytes[2 * stride + i] = encoded(nz[i]);
}

WIDE_LOOPS void round_heights(std::size_t count, const float* __restrict raised, std::uint16_t* __restrict rounded) {
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
    encode_normals(count, row.x, row.y, row.z, count, planar.data());
    for (std::size_t id = 0; id < count; ++id)
        for (std::size_t k = 0; k < 3; ++k) bytes[3 * id + k] = planar[k * count + id];
    return bytes;
}

// The gain that takes each pixel's painted light out. The darkest painted
// light is a generator's black edge; a floor keeps its few pixels from taking
// every rounding error up with them.
WIDE_LOOPS void pixel_gains(std::size_t count, const float* __restrict light, float* __restrict gains) {
    constexpr float darkest = 0.05f;
    for (std::size_t i = 0; i < count; ++i) gains[i] = 1.0f / (light[i] > darkest ? light[i] : darkest);
}

// Bytes over their gains, rounded and held within 0..255.
WIDE_LOOPS void unlight(std::size_t count, const std::uint8_t* __restrict bytes, const float* __restrict gains,
                        std::uint8_t* __restrict unlit) {
    for (std::size_t i = 0; i < count; ++i) {
        const float v = static_cast<float>(bytes[i]) * gains[i] + 0.5f;
        unlit[i] = static_cast<std::uint8_t>(v < 255.0f ? v : 255.0f);
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
    const MapBox box = marked_box(map, left, top, width, height);
    out.left = box.left, out.top = box.top;
    left += box.left, top += box.top;
    // Even in the box much is flat ground or nothing: the images start flat,
    // and only the pixels a surface painted are worked out.
    out.normals = RasterImage(box.width, box.height, flat_normal);
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
            encode_normals(g.count, g.normals.x, g.normals.y, g.normals.z, n, bytes.data());
            for (std::size_t i = 0; i < g.count; ++i) {
                std::uint8_t* p = row + 3 * static_cast<std::size_t>(g.columns[i]);
                p[0] = bytes[i], p[1] = bytes[n + i], p[2] = bytes[2 * n + i];
            }
            g.count = 0;
        }
    }
    return out;
}

RasterImage albedo_of(RasterImage colour, const SurfaceIds& map, int left, int top) {
    RasterImage albedo = std::move(colour);
    if (!map.keeps_light()) return albedo;
    // Only a pixel painted with a light other than 1 changes. They are listed
    // row by row without a branch (the leaves of a tree leave many holes);
    // light 1 has one bit pattern, so it is compared as an integer. Their
    // channels are then gathered a channel to an array, so the sums run a
    // few pixels at a time, and put back.
    constexpr std::uint32_t one = std::bit_cast<std::uint32_t>(1.0f);
    const int width = albedo.width();
    const int y_first = std::max(0, -top), y_end = std::min(albedo.height(), map.height() - top);
    // A row's marked columns, in the albedo's.
    const auto x_first = [&](int y) { return std::max(map.first_marked(top + y) - left, 0); };
    const auto x_last = [&](int y) { return std::min(map.last_marked(top + y) - left, width - 1); };
    std::size_t span = 0;
    for (int y = y_first; y < y_end; ++y) span += static_cast<std::size_t>(std::max(0, x_last(y) - x_first(y) + 1));
    // Scratch numbers, each written before it is read, so not cleared first.
    auto at = std::make_unique_for_overwrite<std::size_t[]>(span + 1);
    auto light = std::make_unique_for_overwrite<float[]>(span + 1);
    std::size_t count = 0;
    for (int y = y_first; y < y_end; ++y) {
        const float* row = map.light_row(top + y) + left;
        const std::size_t row_at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = x_first(y), last = x_last(y); x <= last; ++x) {
            at[count] = row_at + static_cast<std::size_t>(x);
            light[count] = row[x];
            count += std::bit_cast<std::uint32_t>(row[x]) != one;
        }
    }
    auto gains = std::make_unique_for_overwrite<float[]>(count + 1);
    pixel_gains(count, light.get(), gains.get());
    auto bytes = std::make_unique_for_overwrite<std::uint8_t[]>(3 * count + 1);
    auto unlit = std::make_unique_for_overwrite<std::uint8_t[]>(3 * count + 1);
    std::uint8_t* image = albedo.row(0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = image + 3 * at[i];
        bytes[i] = p[0], bytes[count + i] = p[1], bytes[2 * count + i] = p[2];
    }
    for (std::size_t k = 0; k < 3; ++k) unlight(count, &bytes[k * count], gains.get(), &unlit[k * count]);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* p = image + 3 * at[i];
        p[0] = unlit[i], p[1] = unlit[count + i], p[2] = unlit[2 * count + i];
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
