#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class ScanlineDeflater;

// Encodes an image as an 8-bit PNG in memory: RGB, or RGBA when an alpha
// plane (one byte a pixel, row-major, width x height) is given. Tiles are
// written in bulk, so the stream is made for speed and size together:
// unfiltered rows (on these mostly empty, texture-copied images no PNG
// filter makes the files smaller; see bench/README.md) deflated by the
// ScanlineDeflater, which sends the empty margins around what a tile paints
// at next to no cost. Nothing when the alpha plane does not fit the image.
//
// The window's saved and copied tiles are deflated by libdeflate at level 2
// instead, as they always have been, so their files stay the same byte for
// byte; any PNG reader takes both alike.
enum class PngDeflater { scanlines, libdeflate };
std::optional<std::vector<std::uint8_t>> encode_png(const RasterImage& image,
                                                    const std::vector<std::uint8_t>* alpha = nullptr,
                                                    PngDeflater deflater = PngDeflater::scanlines);

// The same for an image made a row at a time: row(y, out) writes row y's
// r, g, b bytes (3 x width) to out. An image that is mostly one colour need
// not be made whole first.
using RgbRow = std::function<void(int y, std::uint8_t* out)>;
std::optional<std::vector<std::uint8_t>> encode_png_rows(int width, int height, const RgbRow& row,
                                                         const std::vector<std::uint8_t>* alpha = nullptr);

// Encodes width x height 16-bit grey values (row-major) the same way, with a
// 16-bit alpha (the 8-bit plane's a as a x 257) when an alpha plane is given.
// Nothing when the sizes disagree.
std::optional<std::vector<std::uint8_t>> encode_png_grey16(int width, int height,
                                                           const std::vector<std::uint16_t>& grey,
                                                           const std::vector<std::uint8_t>* alpha = nullptr);
// The same a row at a time: row(y, out) writes row y's width values to out.
using GreyRow = std::function<void(int y, std::uint16_t* out)>;
std::optional<std::vector<std::uint8_t>> encode_png_grey16_rows(int width, int height, const GreyRow& row,
                                                                const std::vector<std::uint8_t>* alpha = nullptr);

// The same bytes encode_png makes (RGBA with an alpha, RGB without), for an
// image made a row at a time and never held whole: each piece of the file
// goes to `sink` as soon as it is made, in order; the sink says whether it
// took it. Memory stays flat however large the image: the deflater's
// window, a row, and an IDAT chunk at most (16 MB).
class PngRowWriter {
public:
    using Sink = std::function<bool(std::span<const std::uint8_t>)>;
    PngRowWriter(int width, int height, bool alpha, Sink sink);
    ~PngRowWriter();
    PngRowWriter(const PngRowWriter&) = delete;
    PngRowWriter& operator=(const PngRowWriter&) = delete;
    // Row by row from the top: width r, g, b bytes and width alpha bytes.
    bool add_row(const std::uint8_t* rgb, const std::uint8_t* alpha = nullptr);
    // After the last row: false if a row is missing or the sink refused a piece.
    bool finish();

private:
    bool send(std::span<const std::uint8_t> deflated, bool last);

    int width_, height_, rows_ = 0;
    bool alpha_, ok_ = false;
    Sink sink_;
    std::unique_ptr<ScanlineDeflater> deflater_;
    std::vector<std::uint8_t> row_, idat_;
};
