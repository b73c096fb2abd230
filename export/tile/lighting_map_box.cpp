#include "export/tile/lighting_maps.hpp"

#include <algorithm>
#include <cstring>

namespace {
bool in_box(const LightingMaps& maps, int x, int y) { return maps.normals.contains(x - maps.left, y - maps.top); }

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
    for (int x = 0; x < box.first; ++x, out += 3) out[0] = 128, out[1] = 128, out[2] = 255;
    if (box.end > box.first) {
        const std::size_t bytes = 3 * static_cast<std::size_t>(box.end - box.first);
        std::memcpy(out, normals.row(y - top) + 3 * (box.first - left), bytes);
        out += bytes;
    }
    for (int x = std::max(box.end, box.first); x < width; ++x, out += 3) out[0] = 128, out[1] = 128, out[2] = 255;
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

std::vector<std::uint16_t> whole_heights(const LightingMaps& maps, int width, int height) {
    std::vector<std::uint16_t> heights(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) maps.heights_row(y, width, &heights[static_cast<std::size_t>(y) * width]);
    return heights;
}

RasterImage whole_albedo(const LightingMaps& maps, const RasterImage& colour) {
    RasterImage image(colour.width(), colour.height());
    for (int y = 0; y < colour.height(); ++y) maps.albedo_row(colour, y, image.row(y));
    return image;
}

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
