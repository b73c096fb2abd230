#include "export/tile/tile_coverage.hpp"

#include <algorithm>
#include <cstring>

namespace {
std::uint8_t coverage(const std::uint8_t* on_black, const std::uint8_t* on_white) {
    int shows = 0;
    for (int k = 0; k < 3; ++k) shows = std::max(shows, on_white[k] - on_black[k]);
    return static_cast<std::uint8_t>(255 - std::clamp(shows, 0, 255));
}

// Eight bytes at a time: most of a tile's rows are empty.
bool all_zero(const std::uint8_t* p, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word != 0) return false;
    }
    for (; i < n; ++i)
        if (p[i] != 0) return false;
    return true;
}
}  // namespace

std::vector<std::uint8_t> coverage_between(const RasterImage& on_black, const RasterImage& on_white) {
    const int width = on_black.width();
    std::vector<std::uint8_t> covered(static_cast<std::size_t>(width) * on_black.height());
    for (int y = 0; y < on_black.height(); ++y)
        for (int x = 0; x < width; ++x)
            covered[static_cast<std::size_t>(y) * width + x] =
                coverage(on_black.row(y) + 3 * x, on_white.row(y) + 3 * x);
    return covered;
}

void colour_under_coverage(RasterImage& image, const std::vector<std::uint8_t>& alpha) {
    for (int y = 0; y < image.height(); ++y) {
        std::uint8_t* p = image.row(y);
        for (int x = 0; x < image.width(); ++x, p += 3) {
            const int a = alpha[static_cast<std::size_t>(y) * image.width() + x];
            if (a == 0 || a == 255) continue;
            for (int k = 0; k < 3; ++k) p[k] = static_cast<std::uint8_t>(std::min(255, (p[k] * 255 + a / 2) / a));
        }
    }
}

CoveredBox covered_box(const std::uint8_t* coverage, int width, int height) {
    CoveredBox box{width, height, -1, -1};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = coverage + static_cast<std::size_t>(y) * width;
        if (all_zero(row, width)) continue;
        int first = 0, last = width - 1;
        while (row[first] == 0) ++first;
        while (row[last] == 0) --last;
        box.left = std::min(box.left, first), box.right = std::max(box.right, last);
        box.top = std::min(box.top, y), box.bottom = y;
    }
    return box;
}
