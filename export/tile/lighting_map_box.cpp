#include "export/tile/lighting_map_box.hpp"

#include <algorithm>
#include <cstring>

namespace {
bool in_box(const LightingMaps& maps, int x, int y) { return maps.normals.contains(x - maps.left, y - maps.top); }

// n pixels of flat ground's normal from out on; where it ends.
std::uint8_t* flat_pixels(std::uint8_t* out, int n) {
    for (int x = 0; x < n; ++x, out += 3)
        out[0] = static_cast<std::uint8_t>(red(flat_normal)), out[1] = static_cast<std::uint8_t>(green(flat_normal)),
        out[2] = static_cast<std::uint8_t>(blue(flat_normal));
    return out;
}

// The part of row y's `width` pixels the box covers: [first, end), empty when
// the row misses it.
struct Span {
    int first = 0, end = 0;
};
Span box_span(const LightingMaps& maps, int y, int width) {
    if (y < maps.top || y >= maps.top + maps.normals.height()) return {};
    const int first = std::clamp(maps.left, 0, width);
    return {first, std::clamp(maps.left + maps.normals.width(), first, width)};
}
}  // namespace

Colour LightingMaps::normal_at(int x, int y) const {
    return in_box(*this, x, y) ? normals.pixel(x - left, y - top) : flat_normal;
}

std::uint16_t LightingMaps::height_at(int x, int y) const {
    if (!in_box(*this, x, y)) return 0;
    return heights[static_cast<std::size_t>(y - top) * static_cast<std::size_t>(normals.width()) +
                   static_cast<std::size_t>(x - left)];
}

Colour LightingMaps::albedo_at(const RasterImage& colour, int x, int y) const {
    return has_albedo && in_box(*this, x, y) && albedo.contains(x - left, y - top) ? albedo.pixel(x - left, y - top)
                                                                                   : colour.pixel(x, y);
}

void LightingMaps::normals_row(int y, int width, std::uint8_t* out) const {
    const Span box = box_span(*this, y, width);
    out = flat_pixels(out, box.first);
    if (box.end > box.first) {
        const std::size_t bytes = 3 * static_cast<std::size_t>(box.end - box.first);
        std::memcpy(out, normals.row(y - top) + 3 * (box.first - left), bytes);
        out += bytes;
    }
    flat_pixels(out, width - std::max(box.end, box.first));
}

void LightingMaps::heights_row(int y, int width, std::uint16_t* out) const {
    std::fill_n(out, width, std::uint16_t{0});
    const Span box = box_span(*this, y, width);
    const std::size_t w = static_cast<std::size_t>(normals.width());
    if (box.end > box.first)
        std::copy_n(&heights[static_cast<std::size_t>(y - top) * w + static_cast<std::size_t>(box.first - left)],
                    box.end - box.first, out + box.first);
}

void LightingMaps::albedo_row(const RasterImage& colour, int y, std::uint8_t* out) const {
    std::memcpy(out, colour.row(y), 3 * static_cast<std::size_t>(colour.width()));
    const Span box = has_albedo && !albedo.empty() ? box_span(*this, y, colour.width()) : Span{};
    if (box.end > box.first)
        std::memcpy(out + 3 * box.first, albedo.row(y - top) + 3 * (box.first - left),
                    3 * static_cast<std::size_t>(box.end - box.first));
}

RasterImage whole_normals(const LightingMaps& maps, int width, int height) {
    RasterImage image(width, height);
    for (int y = 0; y < height; ++y) maps.normals_row(y, width, image.row(y));
    return image;
}

RasterImage whole_albedo(const LightingMaps& maps, const RasterImage& colour) {
    RasterImage image(colour.width(), colour.height());
    for (int y = 0; y < colour.height(); ++y) maps.albedo_row(colour, y, image.row(y));
    return image;
}
