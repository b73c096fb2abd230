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

// A row is deflated once the bytes a copy from its last byte may read have come.
constexpr std::size_t reach_after = longest_copy + 16;
}  // namespace

ScanlineDeflater::ScanlineDeflater()
    : last_seen_(places_a_hash * (std::size_t{1} << hash_bits), 0),
      block_(block_symbols) {}

void ScanlineDeflater::begin(std::size_t stride, int height, int pixel_bytes) {
    stride_ = stride, height_ = std::max(height, 0), pixel_bytes_ = pixel_bytes;
    total_ = stride * static_cast<std::size_t>(height_);
    next_row_ = 0, at_ = 0, before_ = 0, held_ = 0, adler_ = 1;
    kept_.clear(), kept_from_ = 0, rows_in_ = 0, finished_at_ = 0, final_taken_ = false;
    if (stream_.size() < 2) stream_.resize(2);
    stream_[0] = 0x78;  // deflate, a 32 KB window
    stream_[1] = 0x01;  // no dictionary; the check bits
    bits_.start(2);
}

std::span<const std::uint8_t> ScanlineDeflater::deflate(const std::uint8_t* rows, std::size_t stride, int height,
                                                        int pixel_bytes) {
    begin(stride, height, pixel_bytes);
    deflate_rows(rows, 0, height_, true);
    return take_bytes();
}

std::span<const std::uint8_t> ScanlineDeflater::add_row(const std::uint8_t* row) {
    if (rows_in_ >= height_) return {};
    kept_.insert(kept_.end(), row, row + stride_);
    ++rows_in_;
    int ready = next_row_;
    const std::size_t given = stride_ * static_cast<std::size_t>(rows_in_);
    while (ready < height_ && (rows_in_ == height_ || stride_ * (ready + 1) + reach_after <= given)) ++ready;
    if (ready == next_row_) return take_bytes();
    deflate_rows(kept_.data(), kept_from_, ready, false);
    // Let go of what no copy can reach any more, in large steps.
    const std::size_t needed = stride_ * static_cast<std::size_t>(next_row_);
    if (needed > kept_from_ + window + 16) {
        const std::size_t drop = needed - window - 16 - kept_from_;
        if (drop >= kept_.size() / 2) {
            kept_.erase(kept_.begin(), kept_.begin() + static_cast<std::ptrdiff_t>(drop));
            kept_from_ += drop;
        }
    }
    return take_bytes();
}

std::span<const std::uint8_t> ScanlineDeflater::finish() {
    if (rows_in_ < height_ || finished_at_ != 0) return {};
    deflate_rows(kept_.data(), kept_from_, height_, true);
    kept_ = {};
    return take_bytes();
}

std::span<const std::uint8_t> ScanlineDeflater::take_bytes() {
    if (finished_at_ == 0) {
        const std::size_t n = bits_.whole_bytes();
        bits_.restart();
        return {stream_.data(), n};
    }
    if (final_taken_) return {};
    final_taken_ = true;
    return {stream_.data(), finished_at_};
}

void ScanlineDeflater::deflate_rows(const std::uint8_t* data, std::size_t base, int end_row, bool last) {
    const std::size_t total = total_, stride = stride_;
    const std::size_t pixel_bytes = static_cast<std::size_t>(pixel_bytes_);
    DeflateSymbol* const block = block_.data();
    std::uint32_t* const last_seen = last_seen_.data();
    DeflateBits& bits = bits_;
    std::size_t held = held_;
    std::size_t at = at_;  // the next byte to send
    std::uint8_t before = before_;
    // The image's byte p.
    const auto place = [data, base](std::size_t p) { return data + (p - base); };
    auto send = [&](DeflateSymbol s) {
        if (held == block_symbols) write_deflate_block({block, held}, false, bits), held = 0;
        block[held++] = s;
    };
    // Zeros up to `end`, as copies of the zero before.
    auto send_zeros = [&](std::size_t end) {
        while (at < end) {
            const std::size_t left = end - at;
            if (at == 0 || before != 0 || left < shortest_copy) {
                send({0, 0}), ++at, before = 0;
                continue;
            }
            std::size_t n = std::min(left, longest_copy);
            if (left - n > 0 && left - n < shortest_copy) n = left - shortest_copy;
            send({static_cast<std::uint16_t>(n), 1}), at += n;
        }
    };
    auto remember = [&](std::size_t p, std::uint32_t head) {
        std::uint32_t* bucket = last_seen + places_a_hash * hash_of(head);
        bucket[1] = bucket[0];
        bucket[0] = clock_ + static_cast<std::uint32_t>(p);
    };
    auto try_copy = [&](std::size_t distance, std::uint32_t head, std::size_t limit, std::size_t& best,
                        std::size_t& best_distance) {
        if (distance == 0 || distance > window || distance > at) return;
        const std::uint8_t* from = place(at - distance);
        if (((load32(from) ^ head) & first_three) != 0) return;
        const std::size_t n = copy_length(from, place(at), limit);
        if (n > best) best = n, best_distance = distance;
    };

    std::uint32_t adler = adler_;
    for (int y = next_row_; y < end_row; ++y) {
        const std::size_t start = static_cast<std::size_t>(y) * stride;
        const NonzeroSpan span = nonzero_span(place(start), stride);
        const std::size_t first = start + span.first, end = start + span.end;
        adler = adler_over_zeros(adler, span.first);
        adler = libdeflate_adler32(adler, place(first), end - first);
        adler = adler_over_zeros(adler, stride - span.end);
        if (first == end) continue;
        send_zeros(first);
        while (at < end) {
            const std::size_t limit = std::min(longest_copy, total - at);
            if (limit < 4) {
                send({*place(at), 0}), ++at;
                continue;
            }
            const std::uint32_t head = load32(place(at)) & first_three;
            std::size_t best = 0, best_distance = 0;
            try_copy(pixel_bytes, head, limit, best, best_distance);
            if (best < limit) try_copy(stride, head, limit, best, best_distance);
            const std::uint32_t* seen = last_seen + places_a_hash * hash_of(head);
            const std::uint32_t now = clock_ + static_cast<std::uint32_t>(at);
            for (int k = 0; k < places_a_hash && best < limit; ++k) try_copy(now - seen[k], head, limit, best, best_distance);
            remember(at, head);
            if (best >= shortest_copy) {
                send({static_cast<std::uint16_t>(best), static_cast<std::uint16_t>(best_distance)});
                const std::size_t inside = std::min({at + best, at + remembered_inside, total - 3});
                for (std::size_t q = at + 1; q < inside; ++q) remember(q, load32(place(q)) & first_three);
                at += best;
            } else {
                send({*place(at), 0}), ++at;
            }
        }
        before = *place(at - 1);
    }
    next_row_ = std::max(next_row_, end_row);
    adler_ = adler;
    if (last) {
        send_zeros(total);
        write_deflate_block({block, held}, true, bits);
        held = 0;
        const std::size_t end = bits.finish();
        if (stream_.size() < end + 4) stream_.resize(end + 4);
        for (int k = 0; k < 4; ++k) stream_[end + k] = static_cast<std::uint8_t>(adler >> (24 - 8 * k));
        finished_at_ = end + 4;
        clock_ += static_cast<std::uint32_t>(total + window + 1);
    }
    at_ = at, before_ = before, held_ = held;
}
