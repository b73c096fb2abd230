#pragma once
#include "canvas/colour.hpp"

#include <cstdint>
#include <vector>

// width x height pixels of 8-bit r, g, b, row-major, (0, 0) top left, black
// when created. Owns its pixels; copying an image copies them.
class RasterImage {
public:
    RasterImage() = default;
    RasterImage(int width, int height);
    // Every pixel the colour c, written once.
    RasterImage(int width, int height, Colour c);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    bool contains(int x, int y) const {
        return static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
               static_cast<unsigned>(y) < static_cast<unsigned>(height_);
    }

    // Unchecked access: callers test contains() first.
    Colour pixel(int x, int y) const {
        const std::uint8_t* p = &pixels_[offset(x, y)];
        return rgb(p[0], p[1], p[2]);
    }
    void set_pixel(int x, int y, Colour c) {
        std::uint8_t* p = &pixels_[offset(x, y)];
        p[0] = static_cast<std::uint8_t>(red(c));
        p[1] = static_cast<std::uint8_t>(green(c));
        p[2] = static_cast<std::uint8_t>(blue(c));
    }

    // Checked read: the colour at (x, y), or no_colour outside the image.
    Colour colour_at(int x, int y) const { return contains(x, y) ? pixel(x, y) : no_colour; }

    // Raw r, g, b bytes of row y (3 * width bytes).
    const std::uint8_t* row(int y) const { return &pixels_[offset(0, y)]; }
    std::uint8_t* row(int y) { return &pixels_[offset(0, y)]; }

    bool operator==(const RasterImage&) const = default;

private:
    std::size_t offset(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 3;
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

// A new all-black image; sizes below 1 are raised to 1.
RasterImage create_image(int width, int height);

// An exact copy of the rectangle (x, y, width, height) of source; the parts of
// the rectangle outside the source come out black.
RasterImage grab_image(const RasterImage& source, int x, int y, int width, int height);
