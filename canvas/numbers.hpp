#pragma once
#include <cstdint>
#include <climits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The two conversions from floating values to integers the generators use.
// Values outside the 32-bit range (and NaN) give INT32_MIN, as the hardware
// conversion does. They run for every texel, so on x86 they are the hardware
// conversion itself (the default rounding mode is to-nearest-even).
// The range tests keep the result defined where the compiler folds a
// constant conversion; NaN fails them too.
#if defined(__SSE2__)
inline std::int32_t trunc_to_int(double x) {
    return x > -2147483649.0 && x < 2147483648.0 ? _mm_cvttsd_si32(_mm_set_sd(x)) : INT32_MIN;
}
// Round to nearest, halves to the even neighbour: 2.5 -> 2, 3.5 -> 4.
inline std::int32_t nearest_to_int(double x) {
    return x >= -2147483648.5 && x < 2147483647.5 ? _mm_cvtsd_si32(_mm_set_sd(x)) : INT32_MIN;
}
#else
std::int32_t trunc_to_int(double x);
std::int32_t nearest_to_int(double x);
#endif
