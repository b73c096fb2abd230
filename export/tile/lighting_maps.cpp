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

// Pixels of one round shape, gathered until there are enough to work out
// and encode together, then put back in the image where they came from.
class RoundBatch {
public:
    explicit RoundBatch(Surface::Shape shape) : normals_(shape) { normals_.resize(size); }
    // Pixel (x, y) of the surface, at byte 3 x `at` of the image.
    void add(const Surface& surface, int x, int y, std::uint32_t at, std::uint8_t* image) {
        normals_.set(static_cast<int>(count_), surface, x, y);
        at_[count_] = at;
        if (++count_ == size) flush(image);
    }
    void flush(std::uint8_t* image) {
        if (count_ == 0) return;
        normals_.work_out(static_cast<int>(count_));
        encode_normals(count_, normals_.x, normals_.y, normals_.z, size, bytes_.data());
        for (std::size_t i = 0; i < count_; ++i) {
            std::uint8_t* p = image + 3 * static_cast<std::size_t>(at_[i]);
            p[0] = bytes_[i], p[1] = bytes_[size + i], p[2] = bytes_[2 * size + i];
        }
        count_ = 0;
    }

private:
    static constexpr std::size_t size = 256;  // a few kilobytes: the numbers stay in the cache
    NormalRow normals_;
    std::array<std::uint32_t, size> at_;
    std::array<std::uint8_t, 3 * size> bytes_;
    std::size_t count_ = 0;
};

// A rectangle (left, top, width, height).
struct MapBox {
    int left = 0, top = 0, width = 0, height = 0;
};

// The part of the rectangle (left, top, width, height) of the map whose
// columns the surfaces marked, relative to the rectangle; empty when none.
MapBox marked_box(const SurfaceIds& map, int left, int top, int width, int height) {
    int x_first = width, x_last = -1, y_first = -1, y_last = -1;
    for (int y = std::max(0, -top); y < std::min(height, map.height() - top); ++y) {
        const int first = std::max(map.first_marked(top + y) - left, 0);
        const int last = std::min(map.last_marked(top + y) - left, width - 1);
        if (first > last) continue;
        x_first = std::min(x_first, first), x_last = std::max(x_last, last);
        if (y_first < 0) y_first = y;
        y_last = y;
    }
    if (x_last < 0) return {};
    return {x_first, y_first, x_last - x_first + 1, y_last - y_first + 1};
}

// The colour of the listed pixels (at[i], 3 bytes each in the image) over
// their painted light. The channels are gathered a channel to an array, so
// the sums run a few pixels at a time, and put back.
void unlight_pixels(std::uint8_t* image, const std::uint32_t* at, const float* light, std::size_t count) {
    auto gains = std::make_unique_for_overwrite<float[]>(count + 1);
    pixel_gains(count, light, gains.get());
    auto bytes = std::make_unique_for_overwrite<std::uint8_t[]>(3 * count + 1);
    auto unlit = std::make_unique_for_overwrite<std::uint8_t[]>(3 * count + 1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = image + 3 * static_cast<std::size_t>(at[i]);
        bytes[i] = p[0], bytes[count + i] = p[1], bytes[2 * count + i] = p[2];
    }
    for (std::size_t k = 0; k < 3; ++k) unlight(count, &bytes[k * count], gains.get(), &unlit[k * count]);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* p = image + 3 * static_cast<std::size_t>(at[i]);
        p[0] = unlit[i], p[1] = unlit[count + i], p[2] = unlit[2 * count + i];
    }
}
}  // namespace

LightingMaps lighting_maps_of(const SurfaceIds& map, int left, int top, int width, int height,
                              const RasterImage* colour) {
    LightingMaps out;
    out.has_albedo = colour != nullptr;
    const MapBox box = marked_box(map, left, top, width, height);
    out.left = box.left, out.top = box.top;
    const int w = box.width, h = box.height;
    if (w == 0) return out;
    // Even in the box much is flat ground or nothing: the images start flat
    // (and the albedo as the colour), and only the pixels a surface painted
    // or lit are worked out.
    out.normals = RasterImage(w, h, flat_normal);
    out.heights.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    if (colour) out.albedo = grab_image(*colour, box.left, box.top, w, h);
    left += box.left, top += box.top;
    // They are listed row by row without a branch (the leaves of a tree
    // leave many small holes), by their place in the box. Light 1 has one
    // bit pattern, so it is compared as an integer. A pixel painted as flat
    // ground comes out flat at 0, and one painted at light 1 as it is, so
    // either list serves the other.
    const bool unlit = colour && map.keeps_light();
    constexpr std::uint32_t one = std::bit_cast<std::uint32_t>(1.0f);
    const auto x_first = [&](int y) { return std::max(map.first_marked(top + y) - left, 0); };
    const auto x_last = [&](int y) { return std::min(map.last_marked(top + y) - left, w - 1); };
    std::size_t span = 0;
    for (int y = 0; y < h; ++y) span += static_cast<std::size_t>(std::max(0, x_last(y) - x_first(y) + 1));
    auto at = std::make_unique_for_overwrite<std::uint32_t[]>(span + 1);
    auto row_end = std::make_unique_for_overwrite<std::size_t[]>(static_cast<std::size_t>(h));
    std::size_t count = 0;
    for (int y = 0; y < h; ++y) {
        const SurfaceId* ids = map.row(top + y) + left;
        const auto row_at = static_cast<std::uint32_t>(y) * static_cast<std::uint32_t>(w);
        const int first = x_first(y), last = x_last(y);
        if (unlit) {
            const float* light = map.light_row(top + y) + left;
            for (int x = first; x <= last; ++x) {
                at[count] = row_at + static_cast<std::uint32_t>(x);
                count += (ids[x] != 0) | (std::bit_cast<std::uint32_t>(light[x]) != one);
            }
        } else {
            for (int x = first; x <= last; ++x) {
                at[count] = row_at + static_cast<std::uint32_t>(x);
                count += ids[x] != 0;
            }
        }
        row_end[static_cast<std::size_t>(y)] = count;
    }
    // Each pixel's height and light; a plane's pixels take its normal, a
    // round surface's are gathered by shape and worked out a batch at a time.
    const std::vector<std::uint8_t> planes = plane_normals(map);
    auto raised = std::make_unique_for_overwrite<float[]>(count + 1);
    auto lights = std::make_unique_for_overwrite<float[]>(unlit ? count + 1 : 1);
    RoundBatch domes(Surface::Shape::dome), uprights(Surface::Shape::upright);
    std::uint8_t* normals = out.normals.row(0);
    const int sx = left - map.origin_x();
    std::size_t i = 0;
    for (int y = 0; y < h; ++y) {
        const SurfaceId* ids = map.row(top + y) + left;
        const float* light = unlit ? map.light_row(top + y) + left : nullptr;
        const int sy = top + y - map.origin_y();
        const auto row_at = static_cast<std::uint32_t>(y) * static_cast<std::uint32_t>(w);
        for (const std::size_t end = row_end[static_cast<std::size_t>(y)]; i < end; ++i) {
            const int x = static_cast<int>(at[i] - row_at);
            if (light) lights[i] = light[x];
            const SurfaceId id = ids[x];
            const Surface& s = map.surface(id);
            raised[i] = signed_height_at(s, sx + x, sy);
            switch (s.shape) {
                case Surface::Shape::plane: {
                    std::uint8_t* p = normals + 3 * static_cast<std::size_t>(at[i]);
                    p[0] = planes[3 * id], p[1] = planes[3 * id + 1], p[2] = planes[3 * id + 2];
                    break;
                }
                case Surface::Shape::dome: domes.add(s, sx + x, sy, at[i], normals); break;
                case Surface::Shape::upright: uprights.add(s, sx + x, sy, at[i], normals); break;
            }
        }
    }
    domes.flush(normals);
    uprights.flush(normals);
    auto rounded = std::make_unique_for_overwrite<std::uint16_t[]>(count + 1);
    round_heights(count, raised.get(), rounded.get());
    for (std::size_t k = 0; k < count; ++k) out.heights[at[k]] = rounded[k];
    if (unlit) unlight_pixels(out.albedo.row(0), at.get(), lights.get(), count);
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
