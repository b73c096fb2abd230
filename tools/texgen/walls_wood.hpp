#pragma once
#include "colour_math.hpp"

#include <array>
#include <cstdint>

// Timber wall recipes on a 128-pixel period.
namespace texgen {

enum class BoardKind { Vertical, Clapboard, Logs };

struct BoardStyle {
    BoardKind kind;
    std::array<int, 6> widths;  // plank widths (across), repeated to fill 128
    Col wood;
    double tint;   // per-plank spread
    double grain;  // strength of the grain lines
    double paint;  // 0 bare wood; >0 a painted coat that flakes where noise is low
    Col paint_colour;
    bool battens;  // narrow cover strips over the vertical joints
    std::uint64_t seed;
};
Rgb board_texel(const BoardStyle& s, int x, int y);

// Half-timbering: dark posts, rails and braces with plaster or brick panels.
struct TimberStyle {
    Col beam;
    Col infill;
    bool brick_infill;
    std::uint64_t seed;
};
Rgb timber_texel(const TimberStyle& s, int x, int y);

// Plaster: a flat tint with soft blotches, pits and fine cracks; worn plaster
// shows the bricks underneath.
struct PlasterStyle {
    Col tint;
    double blotch;  // strength of the soft colour variation
    double worn;    // 0..1 share of the wall where the plaster has fallen off
    std::uint64_t seed;
};
Rgb plaster_style_texel(const PlasterStyle& s, int x, int y);

}  // namespace texgen
