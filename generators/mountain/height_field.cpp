#include "generators/mountain/height_field.hpp"

#include "canvas/numbers.hpp"

namespace {
constexpr int levels = height_field_order_at_start;  // 7: the last level's half step is 1
constexpr float amplitude_divisor = 1.7f;

// The displacement of one point: a fresh draw, centred by a floating A / 2
// (exactly A x 0.5).
double displacement(RandomSource& random, int amplitude) { return random_below(random, amplitude) - amplitude * 0.5; }
}  // namespace

void build_height_field(std::vector<float>& field, int amplitude, int corner_height, RandomSource& random) {
    for (int u = 0; u <= height_field_last; ++u)
        for (int w = 0; w <= height_field_last; ++w) height_field_at(field, u, w) = 0.0f;
    height_field_at(field, 0, 0) = static_cast<float>(corner_height);
    height_field_at(field, height_field_last, 0) = static_cast<float>(corner_height);
    height_field_at(field, 0, height_field_last) = static_cast<float>(corner_height);
    height_field_at(field, height_field_last, height_field_last) = static_cast<float>(corner_height);

    int step = height_field_last;
    int squares = 1;
    float centre = 0.0f;
    for (int level = 1; level <= levels; ++level) {
        const int half = step / 2;
        for (int i = 1; i <= squares; ++i) {
            const int w0 = step * (i - 1), w1 = step * i;
            for (int j = 1; j <= squares; ++j) {
                const int u0 = step * (j - 1), u1 = step * j;
                const int a1 = nearest_to_int(height_field_at(field, u0, w0));
                const int a2 = nearest_to_int(height_field_at(field, u1, w0));
                const int a3 = nearest_to_int(height_field_at(field, u1, w1));
                const int a4 = nearest_to_int(height_field_at(field, u0, w1));
                // The first centre is the peak itself, with no draw. (Times a
                // quarter is exactly the floating division by 4.)
                centre = level == 1 ? static_cast<float>(amplitude)
                                    : static_cast<float>((a1 + a2 + a3 + a4) * 0.25 + displacement(random, amplitude));
                height_field_at(field, u0 + half, w0 + half) = centre;
                const double m = centre;
                height_field_at(field, u0 + half, w0) =
                    static_cast<float>((a1 + a2 + m) / 3 + displacement(random, amplitude));
                height_field_at(field, u1, w0 + half) =
                    static_cast<float>((a2 + a3 + m) / 3 + displacement(random, amplitude));
                height_field_at(field, u0 + half, w1) =
                    static_cast<float>((a3 + a4 + m) / 3 + displacement(random, amplitude));
                height_field_at(field, u0, w0 + half) =
                    static_cast<float>((a4 + a1 + m) / 3 + displacement(random, amplitude));
            }
        }
        step = half;
        squares *= 2;
        amplitude = nearest_to_int(amplitude / static_cast<double>(amplitude_divisor));
    }
}

float highest_point(const std::vector<float>& field) {
    float highest = 0.0f;
    for (int u = 0; u <= height_field_last; ++u)
        for (int w = 0; w <= height_field_last; ++w)
            if (highest < height_field_at(field, u, w)) highest = height_field_at(field, u, w);
    return highest;
}
