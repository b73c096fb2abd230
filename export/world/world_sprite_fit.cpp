#include "export/world/world_sprite_fit.hpp"

#include "generators/world/world_mountains.hpp"

#include <algorithm>
#include <cmath>

namespace {

// A pixel's offset from an anchor, in cells along the map's x and y.
struct Along {
    double x, y;
};
Along along(int dx, int dy, int iso_width) {
    const double half_w = iso_width / 2.0, half_h = iso_width / 4.0;
    return {(dx / half_w + dy / half_h) / 2, (dy / half_h - dx / half_w) / 2};
}

}  // namespace

bool paints_anything(const RenderedTile& tile) {
    return std::any_of(tile.alpha.begin(), tile.alpha.end(), [](std::uint8_t a) { return a != 0; });
}

SpriteReach sprite_reach(const RenderedTile& tile, int iso_width) {
    SpriteReach r;
    const int w = tile.image.width();
    bool any = false;
    for (int y = 0; y < tile.image.height(); ++y)
        for (int x = 0; x < w; ++x) {
            if (tile.alpha[static_cast<std::size_t>(y) * w + x] == 0) continue;
            const int dx = x - tile.anchor_x, dy = y - tile.anchor_y;
            const Along a = along(dx, dy, iso_width);
            if (!any) r.along_x = a.x, r.along_y = a.y;
            any = true;
            r.left = std::max(r.left, -dx), r.right = std::max(r.right, dx);
            r.along_x = std::max(r.along_x, a.x), r.along_y = std::max(r.along_y, a.y);
        }
    return r;
}

namespace {

// The painted pixels of the tile in columns [first, last] from its anchor
// that lie behind the front edges of the cell whose middle is (cell_x,
// cell_y) from the anchor, trimmed; one clear pixel if none.
RenderedTile cut_to_cell(const RenderedTile& whole, int first, int last, int cell_x, int cell_y, int iso_width) {
    const double limit = 0.5 - world_front_margin(iso_width);
    const int w = whole.image.width(), h = whole.image.height();
    std::vector<std::uint8_t> kept(whole.alpha.size(), 0);
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            const int dx = x - whole.anchor_x, dy = y - whole.anchor_y;
            if (whole.alpha[i] == 0 || dx < first || dx > last) continue;
            const Along a = along(dx - cell_x, dy - cell_y, iso_width);
            if (a.x > limit || a.y > limit) continue;
            kept[i] = whole.alpha[i];
            left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (right < 0) left = right = whole.anchor_x, top = bottom = whole.anchor_y;
    RenderedTile out = whole;
    const int nw = right - left + 1, nh = bottom - top + 1;
    out.image = grab_image(whole.image, left, top, nw, nh);
    out.alpha.assign(static_cast<std::size_t>(nw) * nh, 0);
    for (int y = 0; y < nh; ++y)
        for (int x = 0; x < nw; ++x)
            out.alpha[static_cast<std::size_t>(y) * nw + x] = kept[static_cast<std::size_t>(top + y) * w + left + x];
    out.left += left, out.top += top;
    out.anchor_x -= left, out.anchor_y -= top;
    out.lighting_maps.left -= left, out.lighting_maps.top -= top;
    return out;
}

}  // namespace

RenderedTile mountain_slice(const RenderedTile& mountain, int slice, int iso_width) {
    const MountainSlice& s = world_mountain_slices[static_cast<std::size_t>(slice)];
    const int half = iso_width / 2;
    // The slice's cell's middle, from the mountain's foot (a small one's
    // stands on its cell's top corner, half a cell up both axes).
    const double along_x = s.dx + (s.small ? 0.5 : 0.0), along_y = s.dy + (s.small ? 0.5 : 0.0);
    const int cell_x = static_cast<int>(std::lround((along_x - along_y) * half));
    const int cell_y = static_cast<int>(std::lround((along_x + along_y) * iso_width / 4.0));
    return cut_to_cell(mountain, s.strip * half + 1, (s.strip + 1) * half, cell_x, cell_y, iso_width);
}

RenderedTile crag_in_cell(const RenderedTile& crag, int iso_width) {
    const int half = iso_width / 2;
    return cut_to_cell(crag, 1 - half, half, 0, 0, iso_width);
}
