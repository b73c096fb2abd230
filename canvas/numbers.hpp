#pragma once
#include <cstdint>

// The two conversions from floating values to integers the generators use.
// Values outside the 32-bit range (and NaN) give INT32_MIN, as the hardware
// conversion does.
std::int32_t trunc_to_int(double x);
// Round to nearest, halves to the even neighbour: 2.5 -> 2, 3.5 -> 4.
std::int32_t nearest_to_int(double x);
