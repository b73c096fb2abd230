#pragma once
#include "colour_math.hpp"

#include <array>
#include <cstdint>

// Brick and stone wall recipes on a 128-pixel period.
namespace texgen {

enum class Bond { Running, Third, Stack, English, Flemish };

struct BrickStyle {
    Bond bond;
    int courses;     // courses in the 128-pixel period (even, for offset bonds)
    int per_course;  // stretchers per course (headers are half as long)
    Col brick;
    Col mortar;
    double spread;        // per-brick brightness spread around 1
    double dark_headers;  // darkening of header bricks (glazed ends), 0 for none
    std::uint64_t seed;
};
Rgb brick_texel(const BrickStyle& s, int x, int y);

// Rubble: irregular stones from wrapped cell noise with mortar joints.
struct RubbleStyle {
    int nx, ny;    // stones across and down the 128-pixel tile
    double joint;  // joint width in pixels
    Col stone;
    Col mortar;
    double tint;   // per-stone colour spread
    double moss;   // 0..1: green growth on the stones' upper edges
    bool rounded;  // round cobbles (flint) set in plenty of mortar
    std::uint64_t seed;
};
Rgb rubble_texel(const RubbleStyle& s, int x, int y);

// Cut stone: courses of listed heights, blocks of listed widths per course.
struct AshlarStyle {
    std::array<int, 8> courses;  // heights summing to 128, 0-terminated
    std::array<int, 4> widths;   // block widths; course k starts shifted by k * shift
    int shift;
    Col stone;
    Col joint;
    std::uint64_t seed;
};
Rgb ashlar_texel(const AshlarStyle& s, int x, int y);

}  // namespace texgen
