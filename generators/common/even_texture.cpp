#include "generators/common/even_texture.hpp"

#include "canvas/numbers.hpp"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace {
constexpr int n = ground_cell_size;
// Patches wider than about a third of the cell are evened; the grain and
// the blotches smaller than that stay. Only part of the drift goes, so the
// texture keeps its character.
constexpr int radius = 10;
constexpr float strength = 0.85f;

int wrap(int at) { return ((at % n) + n) % n; }

// A wrapped box blur of radius `radius`: running sums along the rows, then
// along the columns (`stride` apart).
void blur_lines(const std::vector<float>& in, std::vector<float>& out, int stride, int step) {
    for (int line = 0; line < n; ++line) {
        const auto at = [&](int k) { return in[static_cast<std::size_t>(line * stride + wrap(k) * step)]; };
        float sum = 0;
        for (int d = -radius; d <= radius; ++d) sum += at(d);
        for (int k = 0; k < n; ++k) {
            out[static_cast<std::size_t>(line * stride + k * step)] = sum / (2 * radius + 1);
            sum += at(k + radius + 1) - at(k - radius);
        }
    }
}

std::vector<float> low_pass(const std::vector<float>& in) {
    std::vector<float> rows(in.size()), out(in.size());
    blur_lines(in, rows, n, 1);
    blur_lines(rows, out, 1, n);
    return out;
}

// The shifts of a cell, texel by texel (red, green, blue).
std::vector<int> shifts_of(const RasterImage& sheet, SheetPoint cell) {
    const std::size_t texels = static_cast<std::size_t>(n) * n;
    std::vector<int> shift(texels * 3);
    for (int c = 0; c < 3; ++c) {
        std::vector<float> channel(texels);
        double total = 0;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const Colour texel = sheet.colour_at(cell.x + x, cell.y + y);
                const int value = c == 0 ? red(texel) : c == 1 ? green(texel) : blue(texel);
                channel[static_cast<std::size_t>(y * n + x)] = static_cast<float>(value);
                total += value;
            }
        const float mean = static_cast<float>(total / static_cast<double>(texels));
        const std::vector<float> local = low_pass(channel);
        for (std::size_t k = 0; k < texels; ++k)
            shift[k * 3 + static_cast<std::size_t>(c)] = nearest_to_int(strength * (mean - local[k]));
    }
    return shift;
}

// Every tile of a set reads the same one or two cells, on several threads:
// each cell's shifts are worked out once, keyed by the cell's texels (a
// user's sheet may hold other textures at the same place).
std::shared_ptr<const std::vector<int>> cached_shifts(const RasterImage& sheet, SheetPoint cell) {
    std::uint64_t key = 14695981039346656037ULL;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            key = (key ^ static_cast<std::uint32_t>(sheet.colour_at(cell.x + x, cell.y + y))) * 1099511628211ULL;
    static std::mutex mutex;
    static std::unordered_map<std::uint64_t, std::shared_ptr<const std::vector<int>>> cache;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (const auto found = cache.find(key); found != cache.end()) return found->second;
    }
    auto shifts = std::make_shared<const std::vector<int>>(shifts_of(sheet, cell));
    const std::lock_guard<std::mutex> lock(mutex);
    return cache.emplace(key, std::move(shifts)).first->second;
}
}  // namespace

EvenTexture::EvenTexture(const RasterImage& sheet, SheetPoint cell, std::shared_ptr<const RockWarp> warp)
    : sheet_(&sheet),
      warp_(std::move(warp)),
      cell_(cell),
      shift_(cached_shifts(sheet, cell)) {}

Colour EvenTexture::at(int x, int y) const {
    if (!warp_) return evened(x, y);
    int from_x, from_y;
    warp_->at(wrap(x), wrap(y), from_x, from_y);
    return evened(from_x, from_y);
}

Colour EvenTexture::evened(int x, int y) const {
    x = wrap(x);
    y = wrap(y);
    const Colour c = sheet_->colour_at(cell_.x + x, cell_.y + y);
    const int* shift = &(*shift_)[static_cast<std::size_t>(y * n + x) * 3];
    return rgb_clamped(red(c) + shift[0], green(c) + shift[1], blue(c) + shift[2]);
}
