#include "canvas/scanline_deflate.hpp"

#include "canvas/nonzero_span.hpp"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>

namespace {
constexpr int hash_bits = 15;
constexpr std::size_t window = 32768;
constexpr std::size_t longest_copy = 258, shortest_copy = 3, shortest_found = 4;
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
std::uint32_t hash_of(std::uint32_t four_bytes) { return (four_bytes * 0x9E3779B1u) >> (32 - hash_bits); }

// How far b repeats a, whose first four bytes are known to agree.
std::size_t copy_length(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
    std::size_t n = shortest_found;
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

ScanlineDeflater::ScanlineDeflater() : last_seen_(std::size_t{1} << hash_bits, 0) {
    block_.reserve(block_symbols);
}

void ScanlineDeflater::deflate(const std::uint8_t* rows, std::size_t stride, int height, int pixel_bytes,
                               std::vector<std::uint8_t>& out) {
    const std::size_t total = stride * static_cast<std::size_t>(std::max(height, 0));
    out.push_back(0x78);  // deflate, a 32 KB window
    out.push_back(0x01);  // no dictionary; the check bits
    DeflateBits bits(out);
    block_.clear();
    auto send = [&](DeflateSymbol s) {
        if (block_.size() == block_symbols) write_deflate_block(block_, false, bits), block_.clear();
        block_.push_back(s);
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
    auto try_copy = [&](std::size_t distance, std::uint32_t head, std::size_t limit, std::size_t& best,
                        std::size_t& best_distance) {
        if (distance == 0 || distance > window || distance > at) return;
        const std::uint8_t* from = rows + at - distance;
        if (load32(from) != head) return;
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
            if (limit < shortest_found) {
                send({rows[at], 0}), ++at;
                continue;
            }
            const std::uint32_t head = load32(rows + at);
            std::size_t best = 0, best_distance = 0;
            try_copy(static_cast<std::size_t>(pixel_bytes), head, limit, best, best_distance);
            if (best < limit) try_copy(stride, head, limit, best, best_distance);
            std::uint32_t& seen = last_seen_[hash_of(head)];
            const std::uint32_t now = clock_ + static_cast<std::uint32_t>(at);
            if (best < limit) try_copy(now - seen, head, limit, best, best_distance);
            seen = now;
            if (best >= shortest_found) {
                send({static_cast<std::uint16_t>(best), static_cast<std::uint16_t>(best_distance)});
                at += best;
            } else {
                send({rows[at], 0}), ++at;
            }
        }
    }
    send_zeros(total);
    write_deflate_block(block_, true, bits);
    bits.finish();
    for (const int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(adler >> shift));
    clock_ += static_cast<std::uint32_t>(total + window + 1);
}
