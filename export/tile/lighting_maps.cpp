#include "export/tile/lighting_maps.hpp"

#include "canvas/wide_loops.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <memory>
#include <numbers>
#include <utility>
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
// every rounding error up with them. One loop of divisions, so it vectorises.
WIDE_LOOPS void pixel_gains(std::size_t count, const float* __restrict light, float* __restrict gains) {
    constexpr float darkest = 0.05f;
    for (std::size_t i = 0; i < count; ++i) gains[i] = 1.0f / (light[i] > darkest ? light[i] : darkest);
}

// Numbers each written before they are read: making room for them costs no
// time spent clearing it.
template <class T>
std::unique_ptr<T[]> scratch(std::size_t count) {
    return std::make_unique_for_overwrite<T[]>(std::max<std::size_t>(count, 1));
}

constexpr std::uint32_t one_bits = std::bit_cast<std::uint32_t>(1.0f);

// The pixels of the rectangle, worked out together so the sums run over
// many pixels at a time.
struct Listed {
    std::unique_ptr<std::uint32_t[]> at;  // where in the rectangle's images
    std::unique_ptr<int[]> x, y;          // drawing coordinates
    std::unique_ptr<SurfaceId[]> id;
    std::unique_ptr<float[]> light;  // when light is kept
    std::size_t count = 0;
};

Listed list_pixels(const SurfaceIds& map, const MarkedPixels& marked, int left, int top, int width, int height,
                   bool lit) {
    Listed listed;
    const std::size_t all = marked.count;
    listed.at = scratch<std::uint32_t>(all), listed.x = scratch<int>(all), listed.y = scratch<int>(all);
    listed.id = scratch<SurfaceId>(all);
    if (lit) listed.light = scratch<float>(all);
    std::uint32_t* at = listed.at.get();
    int* xs = listed.x.get();
    int* ys = listed.y.get();
    SurfaceId* ids = listed.id.get();
    float* light = listed.light.get();
    std::size_t count = 0;
    for (std::size_t i = 0; i < all; ++i) {
        const int mx = marked.place[i].x, my = marked.place[i].y;
        const int x = mx - left, y = my - top;
        at[count] = static_cast<std::uint32_t>(y) * static_cast<std::uint32_t>(width) + static_cast<std::uint32_t>(x);
        xs[count] = mx - map.origin_x(), ys[count] = my - map.origin_y();
        ids[count] = marked.id[i];
        if (lit) light[count] = marked.light[i];
        count += static_cast<unsigned>(x) < static_cast<unsigned>(width) &&
                 static_cast<unsigned>(y) < static_cast<unsigned>(height);
    }
    listed.count = count;
    return listed;
}

void heights_of(std::size_t count, const Surface* __restrict surfaces, const SurfaceId* __restrict ids,
                const int* __restrict xs, const int* __restrict ys, float* __restrict raised) {
    for (std::size_t i = 0; i < count; ++i) raised[i] = signed_height_at(surfaces[ids[i]], xs[i], ys[i]);
}

void spread_heights(std::size_t count, const std::uint32_t* __restrict at, const std::uint16_t* __restrict rounded,
                    std::uint16_t* __restrict heights) {
    for (std::size_t i = 0; i < count; ++i) heights[at[i]] = rounded[i];
}

// Three arrays of bytes, a channel each, count apart, to their pixels.
void spread_pixels(std::size_t count, const std::uint32_t* __restrict at, const std::uint8_t* __restrict bytes,
                   std::uint8_t* __restrict image) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* p = image + 3 * static_cast<std::size_t>(at[i]);
        p[0] = bytes[i], p[1] = bytes[count + i], p[2] = bytes[2 * count + i];
    }
}

// A plane's pixels show its one normal.
void plane_pixels(std::size_t count, const Surface* __restrict surfaces, const SurfaceId* __restrict ids,
                  const std::uint32_t* __restrict at, const std::uint8_t* __restrict planes,
                  std::uint8_t* __restrict image) {
    for (std::size_t i = 0; i < count; ++i) {
        const SurfaceId id = ids[i];
        if (surfaces[id].shape != Surface::Shape::plane) continue;
        std::uint8_t* p = image + 3 * static_cast<std::size_t>(at[i]);
        p[0] = planes[3 * id], p[1] = planes[3 * id + 1], p[2] = planes[3 * id + 2];
    }
}

// A shape's listed pixels, gathered to be worked out together, and where
// each one's normal goes in the image.
struct Gathered {
    Gathered(Surface::Shape shape, std::size_t count)
        : shape(shape),
          normals(shape),
          at(scratch<std::uint32_t>(count)) {
        normals.resize(static_cast<int>(count));
    }
    Surface::Shape shape;
    NormalRow normals;
    std::unique_ptr<std::uint32_t[]> at;
    std::size_t count = 0;
};

void gather(const Listed& listed, const Surface* surfaces, Gathered& g) {
    for (std::size_t i = 0; i < listed.count; ++i) {
        const Surface& s = surfaces[listed.id[i]];
        if (s.shape != g.shape) continue;
        g.normals.set(static_cast<int>(g.count), s, listed.x[i], listed.y[i]);
        g.at[g.count++] = listed.at[i];
    }
}

// Bytes over their gains, rounded and held within 0..255.
WIDE_LOOPS void unlight(std::size_t count, const std::uint8_t* __restrict bytes, const float* __restrict gains,
                        std::uint8_t* __restrict unlit) {
    for (std::size_t i = 0; i < count; ++i) {
        const float v = static_cast<float>(bytes[i]) * gains[i] + 0.5f;
        unlit[i] = static_cast<std::uint8_t>(v < 255.0f ? v : 255.0f);
    }
}

// Each listed pixel of the image over its painted light. Its channels are
// gathered a channel to an array, so the sums run a few pixels at a time.
void unlight_pixels(std::size_t count, const std::uint32_t* at, const float* light, std::uint8_t* image) {
    auto gains = scratch<float>(count);
    pixel_gains(count, light, gains.get());
    auto bytes = scratch<std::uint8_t>(3 * count), unlit = scratch<std::uint8_t>(3 * count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = image + 3 * static_cast<std::size_t>(at[i]);
        bytes[i] = p[0], bytes[count + i] = p[1], bytes[2 * count + i] = p[2];
    }
    for (std::size_t k = 0; k < 3; ++k) unlight(count, bytes.get() + k * count, gains.get(), unlit.get() + k * count);
    spread_pixels(count, at, unlit.get(), image);
}
}  // namespace

MarkedPixels marked_pixels(const SurfaceIds& map) {
    // Each marked row's columns, listed without a branch (the leaves of a
    // tree leave many small holes): a pixel painted over with flat ground as
    // it is needs nothing. Light 1 has one bit pattern, so it is compared as
    // an integer and costs no float test.
    const bool lit = map.keeps_light();
    std::size_t span = 0;
    for (int y = 0; y < map.height(); ++y)
        span += static_cast<std::size_t>(std::max(0, map.last_marked(y) - map.first_marked(y) + 1));
    MarkedPixels marked;
    marked.place = scratch<MarkedPixels::Place>(span), marked.id = scratch<SurfaceId>(span);
    if (lit) marked.light = scratch<float>(span);
    std::size_t count = 0;
    for (int y = 0; y < map.height(); ++y) {
        const SurfaceId* ids = map.row(y);
        const float* light = lit ? map.light_row(y) : nullptr;
        for (int x = map.first_marked(y); x <= map.last_marked(y); ++x) {
            const float l = lit ? light[x] : 1.0f;
            marked.place[count] = {static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)};
            marked.id[count] = ids[x];
            if (lit) marked.light[count] = l;
            count += (ids[x] != 0) | (std::bit_cast<std::uint32_t>(l) != one_bits);
        }
    }
    marked.count = count;
    return marked;
}

LightingMaps lighting_maps_of(const SurfaceIds& map, const MarkedPixels& marked, int left, int top, int width,
                              int height, const RasterImage* colour) {
    // The albedo is copied first, while the colour was just written. Most of
    // a tile is flat ground or nothing: the images start flat, and only the
    // marked pixels inside the rectangle are worked out.
    LightingMaps out;
    if (colour) out.albedo = *colour;
    const int w = std::max(width, 1), h = std::max(height, 1);
    const bool unlit = colour && map.keeps_light() && marked.light;
    const Listed listed = list_pixels(map, marked, left, top, w, h, unlit);
    out.normals = RasterImage(w, h, rgb(encoded(0.0f), encoded(0.0f), encoded(1.0f)));
    out.heights.assign(static_cast<std::size_t>(w) * h, 0);
    const std::size_t count = listed.count;
    if (count == 0) return out;
    const Surface* surfaces = &map.surface(0);

    auto raised = scratch<float>(count);
    heights_of(count, surfaces, listed.id.get(), listed.x.get(), listed.y.get(), raised.get());
    auto rounded = scratch<std::uint16_t>(count);
    round_heights(count, raised.get(), rounded.get());
    spread_heights(count, listed.at.get(), rounded.get(), out.heights.data());

    // A plane shows its one normal; a round surface's pixels are gathered
    // by shape and worked out together.
    std::uint8_t* normal_bytes = out.normals.row(0);
    plane_pixels(count, surfaces, listed.id.get(), listed.at.get(), plane_normals(map).data(), normal_bytes);
    std::size_t domes = 0, uprights = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Surface::Shape shape = surfaces[listed.id[i]].shape;
        domes += shape == Surface::Shape::dome, uprights += shape == Surface::Shape::upright;
    }
    for (const auto& [shape, shaped] :
         {std::pair{Surface::Shape::dome, domes}, std::pair{Surface::Shape::upright, uprights}}) {
        if (shaped == 0) continue;
        Gathered g(shape, shaped);
        gather(listed, surfaces, g);
        g.normals.work_out(static_cast<int>(g.count));
        auto bytes = scratch<std::uint8_t>(3 * g.count);
        encode_normals(g.count, g.normals.x, g.normals.y, g.normals.z, g.count, bytes.get());
        spread_pixels(g.count, g.at.get(), bytes.get(), normal_bytes);
    }

    // The albedo: each listed pixel over its painted light (an unlisted one
    // was painted as it is, light 1).
    if (unlit) unlight_pixels(count, listed.at.get(), listed.light.get(), out.albedo.row(0));
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
