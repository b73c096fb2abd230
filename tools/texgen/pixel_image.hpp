#pragma once
#include <cstdint>
#include <vector>

namespace texgen {

// One 8-bit RGB pixel.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// width x height RGB pixels, row-major, (0, 0) top left, black when created.
class PixelImage {
public:
    PixelImage() = default;
    PixelImage(int width, int height, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Rgb at(int x, int y) const {
        const std::uint8_t* p = &bytes_[offset(x, y)];
        return {p[0], p[1], p[2]};
    }
    void set(int x, int y, Rgb c) {
        std::uint8_t* p = &bytes_[offset(x, y)];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
    // Clipped write, for drawing that may run off the edge.
    void plot(int x, int y, Rgb c) {
        if (contains(x, y)) set(x, y, c);
    }

    void fill_rect(int x, int y, int w, int h, Rgb c);
    // Copies src's rectangle (sx, sy, w, h) to (dx, dy), clipped to both images.
    void blit(const PixelImage& src, int sx, int sy, int w, int h, int dx, int dy);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

    bool operator==(const PixelImage&) const = default;

private:
    std::size_t offset(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 3;
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace texgen
