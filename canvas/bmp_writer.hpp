#pragma once
#include "canvas/file_output.hpp"
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <string>
#include <vector>

// Uncompressed 24-bit BMP: 14-byte file header, 40-byte info header, then the
// rows bottom-up, each pixel as blue, green, red, rows padded with zeros.
inline constexpr int bmp_header_size = 54;
inline constexpr int bmp_info_header_size = 40;

// Row length in bytes: 3 * width rounded up to a multiple of 4.
constexpr int bmp_stride(int width) { return 3 * width + (width & 3); }

// The pixel block alone (stride * height bytes), assembled in one buffer.
std::vector<std::uint8_t> bmp_pixel_block(const RasterImage& image);
// A whole .bmp file.
std::vector<std::uint8_t> bmp_file_bytes(const RasterImage& image);
// The packed device-independent bitmap the clipboard takes: the info header
// followed immediately by the pixel block.
std::vector<std::uint8_t> packed_dib_bytes(const RasterImage& image);

// Writes image to path as a BMP file, safely (see write_file_safely): a
// failed write never leaves a truncated file or destroys the one there.
WriteResult write_bmp(const RasterImage& image, const std::string& path);
