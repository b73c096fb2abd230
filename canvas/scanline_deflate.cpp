#include "canvas/scanline_deflate.hpp"

#include "canvas/nonzero_span.hpp"

#include <libdeflate.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace {
constexpr int hash_bits = 15;
constexpr int places_a_hash = 2;  // the last two places three bytes were seen
// After a copy, the places of its first bytes are remembered too, so a
// repeat that starts inside it is found; the rest of a long copy is not.
constexpr std::size_t remembered_inside = 8;
constexpr std::size_t window = 32768;
constexpr std::size_t longest_copy = 258, shortest_copy = 3;
// Copies are looked for by their first three bytes, a pixel of RGB: even a
// single repeated pixel sends for less than its bytes would. Four are read.
constexpr std::uint32_t first_three = std::endian::native == std::endian::little ? 0x00ffffffu : 0xffffff00u;
// Symbols a block: a tile is one block; a large image adapts its codes as
// its content changes.
constexpr std::size_t block_symbols = std::size_t{1} << 15;
constexpr std::uint32_t adler_modulus = 65521;

std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
std::uint64_t load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
std::uint32_t hash_of(std::uint32_t bytes) { return (bytes * 0x9E3779B1u) >> (32 - hash_bits); }

// How far b repeats a, whose first three bytes are known to agree.
std::size_t copy_length(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
    std::size_t n = shortest_copy;
    for (; n + 8 <= limit; n += 8) {
        const std::uint64_t differ = load64(a + n) ^ load64(b + n);
        if (differ != 0) return n + static_cast<std::size_t>(__builtin_ctzll(differ) >> 3);
    }
    while (n < limit && a[n] == b[n]) ++n;
    return n;
}

// Adler-32 moved on over n zero bytes: the first sum stays, the second
// gains it n times.
std::uint32_t adler_over_zeros(std::uint32_t adler, std::size_t n) {
    const std::uint64_t first = adler & 0xffff, second = adler >> 16;
    return static_cast<std::uint32_t>(first | ((second + (n % adler_modulus) * first) % adler_modulus) << 16);
}
}  // namespace

ScanlineDeflater::ScanlineDeflater()
    : last_seen_(places_a_hash * (std::size_t{1} << hash_bits), 0),
      block_(block_symbols) {}

std::span<const std::uint8_t> ScanlineDeflater::deflate(const std::uint8_t* rows, std::size_t stride, int height,
                                                        int pixel_bytes) {
    const std::size_t total = stride * static_cast<std::size_t>(std::max(height, 0));
    if (stream_.size() < 2) stream_.resize(2);
    stream_[0] = 0x78;  // deflate, a 32 KB window
    stream_[1] = 0x01;  // no dictionary; the check bits
    DeflateBits bits(stream_, 2);
    DeflateSymbol* const block = block_.data();
    std::uint32_t* const last_seen = last_seen_.data();
    std::size_t held = 0;  // symbols in the block
    auto send = [&](DeflateSymbol s) {
        if (held == block_symbols) write_deflate_block({block, held}, false, bits), held = 0;
        block[held++] = s;
    };
    std::size_t at = 0;  // the next byte to send
    // Zeros up to `end`, as copies of the zero before.
    auto send_zeros = [&](std::size_t end) {
        while (at < end) {
            const std::size_t left = end - at;
            if (at == 0 || rows[at - 1] != 0 || left < shortest_copy) {
                send({0, 0}), ++at;
                continue;
            }
            std::size_t n = std::min(left, longest_copy);
            if (left - n > 0 && left - n < shortest_copy) n = left - shortest_copy;
            send({static_cast<std::uint16_t>(n), 1}), at += n;
        }
    };
    auto remember = [&](std::size_t place, std::uint32_t head) {
        std::uint32_t* bucket = last_seen + places_a_hash * hash_of(head);
        bucket[1] = bucket[0];
        bucket[0] = clock_ + static_cast<std::uint32_t>(place);
    };
    auto try_copy = [&](std::size_t distance, std::uint32_t head, std::size_t limit, std::size_t& best,
                        std::size_t& best_distance) {
        if (distance == 0 || distance > window || distance > at) return;
        const std::uint8_t* from = rows + at - distance;
        if (((load32(from) ^ head) & first_three) != 0) return;
        const std::size_t n = copy_length(from, rows + at, limit);
        if (n > best) best = n, best_distance = distance;
    };

    std::uint32_t adler = 1;
    for (int y = 0; y < height; ++y) {
        const std::size_t start = static_cast<std::size_t>(y) * stride;
        const NonzeroSpan span = nonzero_span(rows + start, stride);
        const std::size_t first = start + span.first, end = start + span.end;
        adler = adler_over_zeros(adler, span.first);
        adler = libdeflate_adler32(adler, rows + first, end - first);
        adler = adler_over_zeros(adler, stride - span.end);
        if (first == end) continue;
        send_zeros(first);
        while (at < end) {
            const std::size_t limit = std::min(longest_copy, total - at);
            if (limit < 4) {
                send({rows[at], 0}), ++at;
                continue;
            }
            const std::uint32_t head = load32(rows + at) & first_three;
            std::size_t best = 0, best_distance = 0;
            try_copy(static_cast<std::size_t>(pixel_bytes), head, limit, best, best_distance);
            if (best < limit) try_copy(stride, head, limit, best, best_distance);
            const std::uint32_t* seen = last_seen + places_a_hash * hash_of(head);
            const std::uint32_t now = clock_ + static_cast<std::uint32_t>(at);
            for (int k = 0; k < places_a_hash && best < limit; ++k) try_copy(now - seen[k], head, limit, best, best_distance);
            remember(at, head);
            if (best >= shortest_copy) {
                send({static_cast<std::uint16_t>(best), static_cast<std::uint16_t>(best_distance)});
                const std::size_t inside = std::min({at + best, at + remembered_inside, total - 3});
                for (std::size_t q = at + 1; q < inside; ++q) remember(q, load32(rows + q) & first_three);
                at += best;
            } else {
                send({rows[at], 0}), ++at;
            }
        }
    }
    send_zeros(total);
    write_deflate_block({block, held}, true, bits);
    const std::size_t end = bits.finish();
    if (stream_.size() < end + 4) stream_.resize(end + 4);
    for (int k = 0; k < 4; ++k) stream_[end + k] = static_cast<std::uint8_t>(adler >> (24 - 8 * k));
    clock_ += static_cast<std::uint32_t>(total + window + 1);
    return {stream_.data(), end + 4};
}
