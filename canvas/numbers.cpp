#include "canvas/numbers.hpp"

#if !defined(__SSE2__)
#include <cmath>
#include <limits>

namespace {
std::int32_t to_int32_or_min(double whole) {
    // Both bounds are exact in double; NaN fails both comparisons.
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(whole);
}
}  // namespace

std::int32_t trunc_to_int(double x) { return to_int32_or_min(std::trunc(x)); }

std::int32_t nearest_to_int(double x) {
    // nearbyint follows the default rounding mode, which is to-nearest-even.
    return to_int32_or_min(std::nearbyint(x));
}
#endif
