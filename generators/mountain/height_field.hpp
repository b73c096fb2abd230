#pragma once
#include "state/app_state.hpp"
#include "canvas/random_source.hpp"

// The mountain's height field: a 129 x 129 grid (u, w in 0..128) of the
// 149 x 149 height_field, kept between tiles so a locked shape can be redrawn.

inline constexpr int height_field_last = 1 << height_field_order_at_start;  // 128

// Entry [u][w]. The loops that build and paint the field run along u on the
// inside, so u is the one that lies contiguous in memory.
inline float& height_field_at(std::vector<float>& field, int u, int w) { return field[w * height_field_side + u]; }
inline float height_field_at(const std::vector<float>& field, int u, int w) { return field[w * height_field_side + u]; }

// Recursive subdivision of squares: the corners hold corner_height, each
// level sets every square's centre and edge midpoints to the mean of the
// corners around them plus a displacement of -amplitude/2 .. amplitude/2,
// and the amplitude shrinks by 1.7 a level. An edge shared by two squares
// keeps the value of the square treated later.
void build_height_field(std::vector<float>& field, int amplitude, int corner_height, RandomSource& random);

// The highest point of the field, never below 0.
float highest_point(const std::vector<float>& field);
