#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

// A drawing target beside the colour image: for every pixel, whether the
// draw painted it (255) or left it as the background (0). Pixels are the
// target's. A draw records it as it paints, so a tile's coverage needs no
// second draw over another background.
class PaintedMask {
public:
    PaintedMask() = default;
    // Nothing painted yet; sizes below 1 are raised to 1.
    PaintedMask(int width, int height)
        : width_(width < 1 ? 1 : width),
          height_(height < 1 ? 1 : height),
          bytes_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

    int width() const { return width_; }
    int height() const { return height_; }

    // Unchecked: the drawing context has clipped to the image already.
    void mark(int x, int y) { bytes_[offset(x, y)] = 255; }
    void mark_span(int x0, int x1, int y) { std::memset(&bytes_[offset(x0, y)], 255, span(x0, x1)); }
    // Painted back to the background: not painted any more.
    void unmark_span(int x0, int x1, int y) { std::memset(&bytes_[offset(x0, y)], 0, span(x0, x1)); }

    std::uint8_t at(int x, int y) const { return bytes_[offset(x, y)]; }
    const std::uint8_t* row(int y) const { return &bytes_[offset(0, y)]; }

private:
    std::size_t offset(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }
    static std::size_t span(int x0, int x1) { return static_cast<std::size_t>(x1 - x0 + 1); }

    int width_ = 0, height_ = 0;
    std::vector<std::uint8_t> bytes_;
};
