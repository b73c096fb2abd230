#include "export/world/world_sprite_finish.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr Colour shade_colour = rgb(10, 24, 18);
constexpr std::uint8_t shade_alpha = 100;
constexpr double max_shade_radius = 0.26;  // cells
// Snow lit from the right, as the generators light their trees and rock.
constexpr Colour lit_snow = rgb(238, 242, 250), shaded_snow = rgb(200, 208, 232);

// The columns the sprite paints in its lower half, where its stem or body
// meets the ground: the shade is as wide.
std::pair<int, int> lower_span(const RenderedTile& tile) {
    const int w = tile.image.width(), h = tile.image.height();
    int left = w, right = -1;
    for (int y = h / 2; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (tile.alpha[static_cast<std::size_t>(y) * w + x] == 255)
                left = std::min(left, x), right = std::max(right, x);
    return {left, right};
}

// Grows the image by the given margins, clear where it grows.
void grow(RenderedTile& tile, int left, int top, int right, int bottom) {
    if (left == 0 && top == 0 && right == 0 && bottom == 0) return;
    const int w = tile.image.width(), h = tile.image.height();
    const int nw = w + left + right, nh = h + top + bottom;
    tile.image = grab_image(tile.image, -left, -top, nw, nh);
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(nw) * nh, 0);
    for (int y = 0; y < h; ++y)
        std::copy_n(&tile.alpha[static_cast<std::size_t>(y) * w], w,
                    &alpha[static_cast<std::size_t>(y + top) * nw + left]);
    tile.alpha = std::move(alpha);
    tile.left -= left, tile.top -= top;
    tile.anchor_x += left, tile.anchor_y += top;
    tile.lighting_maps.left += left, tile.lighting_maps.top += top;
}

void lay_shade(RenderedTile& tile, int map_width) {
    const auto [span_left, span_right] = lower_span(tile);
    if (span_right < span_left) return;
    const double half_w = map_width / 2.0, half_h = map_width / 4.0;
    // A disc of radius r cells on the ground is an ellipse r W / sqrt 2 wide
    // and half as tall on screen; its middle r / 2 behind the foot along
    // both axes lies straight above it.
    const double r = std::min(max_shade_radius, 0.45 * (span_right - span_left + 1) * std::sqrt(2.0) / map_width);
    const double rx = r * half_w * std::sqrt(2.0), ry = rx / 2, lift = r / 2 * half_h * 2;
    const double cy = tile.anchor_y - lift;
    const int x0 = static_cast<int>(std::floor(tile.anchor_x - rx)),
              x1 = static_cast<int>(std::ceil(tile.anchor_x + rx));
    const int y0 = static_cast<int>(std::floor(cy - ry)), y1 = static_cast<int>(std::ceil(cy + ry));
    grow(tile, std::max(0, -x0), std::max(0, -y0), std::max(0, x1 + 1 - tile.image.width()),
         std::max(0, y1 + 1 - tile.image.height()));
    const int w = tile.image.width();
    const double mx = tile.anchor_x, my = tile.anchor_y - lift;
    for (int y = 0; y < tile.image.height(); ++y)
        for (int x = 0; x < w; ++x) {
            // The pixel's offset from the disc's middle, in cells along the map's x and y.
            const double sx = x - mx, sy = y - my;
            const double u = (sx / half_w + sy / half_h) / 2, v = (sy / half_h - sx / half_w) / 2;
            std::uint8_t& a = tile.alpha[static_cast<std::size_t>(y) * w + x];
            if (a != 0 || u * u + v * v > r * r) continue;
            a = shade_alpha;
            tile.image.set_pixel(x, y, shade_colour);
        }
}

// Snow lies on every painted pixel open to the sky, two pixels deep where
// it rests on a branch wider than a needle.
void lay_snow(RenderedTile& tile) {
    grow(tile, 0, 2, 0, 0);
    const int w = tile.image.width(), h = tile.image.height();
    const std::vector<std::uint8_t> before = tile.alpha;
    const auto painted = [&](int x, int y) {
        return x >= 0 && x < w && before[static_cast<std::size_t>(y) * w + x] == 255;
    };
    const auto snow = [&](int x, int y) {
        tile.alpha[static_cast<std::size_t>(y) * w + x] = 255;
        tile.image.set_pixel(x, y, x >= tile.anchor_x ? lit_snow : shaded_snow);
    };
    for (int y = 2; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!painted(x, y) || before[static_cast<std::size_t>(y - 1) * w + x] != 0) continue;
            snow(x, y - 1);
            if (before[static_cast<std::size_t>(y - 2) * w + x] == 0 && (painted(x - 1, y) || painted(x + 1, y)))
                snow(x, y - 2);
        }
}

// A clear pixel with painted pixels on all four sides takes the colour of
// the one on its left: the relief's segments run down to the right.
void fill_pinholes(RenderedTile& tile) {
    const int w = tile.image.width(), h = tile.image.height();
    const std::vector<std::uint8_t> before = tile.alpha;
    const auto painted = [&](int x, int y) { return before[static_cast<std::size_t>(y) * w + x] == 255; };
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x) {
            if (before[static_cast<std::size_t>(y) * w + x] != 0) continue;
            if (!painted(x - 1, y) || !painted(x + 1, y) || !painted(x, y - 1) || !painted(x, y + 1)) continue;
            tile.alpha[static_cast<std::size_t>(y) * w + x] = 255;
            tile.image.set_pixel(x, y, tile.image.pixel(x - 1, y));
        }
}

}  // namespace

std::vector<std::string> SpriteFinish::names() const {
    std::vector<std::string> n;
    if (shade) n.emplace_back("shade");
    if (snow) n.emplace_back("snow");
    if (filled) n.emplace_back("filled");
    return n;
}

SpriteFinish world_sprite_finish(const WorldPalette& palette, WorldObjectKind kind, int map_width) {
    SpriteFinish f;
    f.map_width = map_width;
    f.shade = kind == WorldObjectKind::tree || kind == WorldObjectKind::bush;
    f.snow = palette.objects.snow && (kind == WorldObjectKind::tree || kind == WorldObjectKind::boulder);
    f.filled = kind == WorldObjectKind::mountain;
    return f;
}

void finish_world_sprite(RenderedTile& tile, const SpriteFinish& finish) {
    if (tile.image.empty() || tile.alpha.size() != static_cast<std::size_t>(tile.image.width()) * tile.image.height())
        return;
    // Snow first: the shade lies on the ground, which takes none.
    if (finish.filled) fill_pinholes(tile);
    if (finish.snow) lay_snow(tile);
    if (finish.shade) lay_shade(tile, finish.map_width);
}
