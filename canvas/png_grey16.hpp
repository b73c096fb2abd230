#pragma once
#include <cstdint>
#include <optional>
#include <vector>

// Encodes width x height 16-bit grey values (row-major) as a PNG in memory,
// with a 16-bit alpha of 0 or 65535 when an 8-bit alpha plane (0 or 255) is
// given. Nothing when libpng fails or the sizes disagree.
std::optional<std::vector<std::uint8_t>> encode_png_grey16(int width, int height, const std::vector<std::uint16_t>& grey,
                                                           const std::vector<std::uint8_t>* alpha = nullptr);
