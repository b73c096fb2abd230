#include "export/map/span_blend.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {
struct Wide {  // a 16-bit premultiplied pixel
    std::uint32_t r, g, b, a;
};

std::uint32_t div_65535(std::uint32_t t) { return (t + (t >> 16) + 0x8000u) >> 16; }
std::uint32_t div_257(std::uint32_t x) {
    x += 128;
    return (x - (x >> 8)) >> 8;
}
// The vector premultiply: a high multiply, nudged so that 0xfffe reaches 0xffff.
std::uint32_t mul_high(std::uint32_t c16, std::uint32_t a16) {
    const std::uint32_t r = (c16 * a16) >> 16;
    return (r + (r >> 15)) & 0xffffu;
}

// Qt divides by alpha through an approximate reciprocal refined by one
// Newton-Raphson step, in single precision, exactly so on this CPU: the
// instruction's precision differs between processors, and ties round by it.
float reciprocal_times(float a, float times) {
#if defined(__SSE__) || defined(__x86_64__)
    const __m128 va = _mm_set1_ps(a);
    __m128 ia = _mm_rcp_ps(va);
    ia = _mm_sub_ps(_mm_add_ps(ia, ia), _mm_mul_ps(ia, _mm_mul_ps(ia, va)));
    ia = _mm_mul_ps(ia, _mm_set1_ps(times));
    return _mm_cvtss_f32(ia);
#else
    return times / a;
#endif
}

struct Reciprocals {
    std::vector<float> to_8bit, to_16bit;  // 255 / a and 65535 / a for every 16-bit alpha
    bool eight_wide_fetch = false;         // AVX2: Qt premultiplies eight pixels at a time
    Reciprocals() : to_8bit(65536), to_16bit(65536) {
        for (int a = 1; a < 65536; ++a) {
            to_8bit[a] = reciprocal_times(static_cast<float>(a), 255.0f);
            to_16bit[a] = reciprocal_times(static_cast<float>(a), 65535.0f);
        }
#if defined(__x86_64__) || defined(__i386__)
        eight_wide_fetch = __builtin_cpu_supports("avx2");
#endif
    }
};
const Reciprocals& reciprocals() {
    static const Reciprocals table;
    return table;
}

// Rounds to nearest, ties to even, as the vector conversion does.
int round_even(float v) { return static_cast<int>(std::lrint(v)); }

Wide expand(const std::uint8_t* rgb, std::uint8_t a) { return {rgb[0] * 257u, rgb[1] * 257u, rgb[2] * 257u, a * 257u}; }
Wide premultiply_high(const std::uint8_t* rgb, std::uint8_t a) {
    const std::uint32_t a16 = a * 257u;
    return {mul_high(rgb[0] * 257u, a16), mul_high(rgb[1] * 257u, a16), mul_high(rgb[2] * 257u, a16), a16};
}
Wide premultiply_exact(const std::uint8_t* rgb, std::uint8_t a) {
    if (a == 255) return expand(rgb, a);
    if (a == 0) return {0, 0, 0, 0};
    const std::uint32_t a16 = a * 257u;
    return {div_65535(rgb[0] * 257u * a16), div_65535(rgb[1] * 257u * a16), div_65535(rgb[2] * 257u * a16), a16};
}

// The destination row to 16-bit premultiplied, group by group.
void fetch(const std::uint8_t* rgb, const std::uint8_t* alpha, Wide* out, int n) {
    const bool avx2 = reciprocals().eight_wide_fetch;
    const int group = avx2 ? 8 : 4;
    int i = 0;
    for (; i + group <= n; i += group) {
        bool clear = true, opaque = true;
        for (int j = i; j < i + group; ++j) {
            clear = clear && alpha[j] == 0;
            opaque = opaque && alpha[j] == 255;
        }
        for (int j = i; j < i + group; ++j)
            out[j] = clear    ? Wide{0, 0, 0, 0}
                     : opaque ? expand(rgb + 3 * j, 255)
                              : premultiply_high(rgb + 3 * j, alpha[j]);
    }
    if (avx2) {  // the rest as one masked group, never counted opaque
        bool clear = true;
        for (int j = i; j < n; ++j) clear = clear && alpha[j] == 0;
        for (int j = i; j < n; ++j) out[j] = clear ? Wide{0, 0, 0, 0} : premultiply_high(rgb + 3 * j, alpha[j]);
    } else {
        for (int j = i; j < n; ++j) out[j] = premultiply_exact(rgb + 3 * j, alpha[j]);
    }
}

void blend(const std::uint32_t* source, Wide* dest, int n) {
    for (int i = 0; i < n; ++i) {
        const std::uint32_t s = source[i];
        const std::uint32_t sa = s >> 24;
        if (sa == 0) continue;
        const Wide s16{(s >> 16 & 0xff) * 257u, (s >> 8 & 0xff) * 257u, (s & 0xff) * 257u, sa * 257u};
        if (sa == 255) {
            dest[i] = s16;
            continue;
        }
        const std::uint32_t keep = 65535 - s16.a;
        Wide& d = dest[i];
        d = {s16.r + div_65535(d.r * keep), s16.g + div_65535(d.g * keep), s16.b + div_65535(d.b * keep),
             s16.a + div_65535(d.a * keep)};
    }
}

// Back to unpremultiplied 8-bit: four at a time by the reciprocal, the
// rest one by one through 16 bits.
void store(const Wide* in, std::uint8_t* rgb, std::uint8_t* alpha, int n) {
    const Reciprocals& table = reciprocals();
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        bool clear = true, opaque = true;
        for (int j = i; j < i + 4; ++j) {
            clear = clear && in[j].a == 0;
            opaque = opaque && in[j].a == 65535;
        }
        for (int j = i; j < i + 4; ++j) {
            std::uint8_t* p = rgb + 3 * j;
            const Wide& w = in[j];
            if (clear || w.a == 0) {
                p[0] = p[1] = p[2] = alpha[j] = 0;
                continue;
            }
            alpha[j] = static_cast<std::uint8_t>(div_257(w.a));
            if (opaque) {
                p[0] = static_cast<std::uint8_t>(div_257(w.r));
                p[1] = static_cast<std::uint8_t>(div_257(w.g));
                p[2] = static_cast<std::uint8_t>(div_257(w.b));
                continue;
            }
            const float ia = table.to_8bit[w.a];
            p[0] = static_cast<std::uint8_t>(std::clamp(round_even(static_cast<float>(w.r) * ia), 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(round_even(static_cast<float>(w.g) * ia), 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(round_even(static_cast<float>(w.b) * ia), 0, 255));
        }
    }
    for (; i < n; ++i) {
        std::uint8_t* p = rgb + 3 * i;
        const Wide& w = in[i];
        if (w.a == 0) {
            p[0] = p[1] = p[2] = alpha[i] = 0;
            continue;
        }
        const auto channel = [&](std::uint32_t c) {
            const int c16 = w.a == 65535
                                ? static_cast<int>(c)
                                : std::clamp(round_even(static_cast<float>(c) * table.to_16bit[w.a]), 0, 65535);
            return static_cast<std::uint8_t>(div_257(static_cast<std::uint32_t>(c16)));
        };
        p[0] = channel(w.r);
        p[1] = channel(w.g);
        p[2] = channel(w.b);
        alpha[i] = static_cast<std::uint8_t>(div_257(w.a));
    }
}

bool partial(std::uint8_t a) { return static_cast<std::uint8_t>(a + 1) > 1; }
// Eight alphas at a time: a byte is 0 or 255 exactly when it equals its top
// bit spread over all eight.
bool has_partial(const std::uint8_t* alpha, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::memcpy(&x, alpha + i, 8);
        if (x ^ ((x >> 7 & 0x0101010101010101u) * 0xff)) return true;
    }
    for (; i < n; ++i)
        if (partial(alpha[i])) return true;
    return false;
}

void copy_opaque(const std::uint32_t* source, std::uint8_t* rgb, std::uint8_t* alpha, int n) {
    for (int i = 0; i < n; ++i) {
        const std::uint32_t s = source[i];
        if (s >> 24 != 255) continue;
        std::uint8_t* p = rgb + 3 * i;
        p[0] = static_cast<std::uint8_t>(s >> 16);
        p[1] = static_cast<std::uint8_t>(s >> 8);
        p[2] = static_cast<std::uint8_t>(s);
        alpha[i] = 255;
    }
}
}  // namespace

std::uint32_t premultiplied_pixel(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    const auto times = [a](std::uint32_t c) {
        const std::uint32_t t = c * a;
        return (t + (t >> 8) + 0x80u) >> 8;
    };
    return static_cast<std::uint32_t>(a) << 24 | times(r) << 16 | times(g) << 8 | times(b);
}

void blend_span(const SourceRow& row, int from, std::uint8_t* rgb, std::uint8_t* alpha, int n) {
    if (!row.has_partial && !has_partial(alpha, n)) {
        for (int r = 0; r < row.run_count; ++r) {
            const int start = std::max(row.runs[r].start, from), end = std::min(row.runs[r].end, from + n);
            if (start >= end) continue;
            std::memcpy(rgb + 3 * (start - from), row.rgb + 3 * start, 3 * static_cast<std::size_t>(end - start));
            std::memset(alpha + (start - from), 255, static_cast<std::size_t>(end - start));
        }
        return;
    }
    // Qt's fetch groups hold 8 (or 4) pixels and its store groups 4, both
    // counted from the span's start (its 2048-pixel pieces keep them so), and
    // what is left at the end forms the last group: each fetch group is
    // worked through alone, and only where a partial pixel makes it matter.
    const int group = reciprocals().eight_wide_fetch ? 8 : 4;
    const std::uint32_t* source = row.premultiplied + from;
    Wide wide[8];
    for (int start = 0; start < n; start += group) {
        const int count = std::min(group, n - start);
        const std::uint32_t* s = source + start;
        std::uint8_t* p = rgb + 3 * start;
        std::uint8_t* a = alpha + start;
        bool plain = true;
        for (int i = 0; i < count; ++i) plain &= !partial(static_cast<std::uint8_t>(s[i] >> 24)) && !partial(a[i]);
        if (plain) {
            copy_opaque(s, p, a, count);
            continue;
        }
        fetch(p, a, wide, count);
        blend(s, wide, count);
        store(wide, p, a, count);
    }
}
