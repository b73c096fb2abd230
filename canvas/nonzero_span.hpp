#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// Where the bytes other than zero of n bytes lie: [first, end), first == end
// == n when all are zero. Read a word at a time: the rows of a tile's image
// are mostly zero.
struct NonzeroSpan {
    std::size_t first, end;
};
inline NonzeroSpan nonzero_span(const std::uint8_t* bytes, std::size_t n) {
    auto word = [bytes](std::size_t at) {
        std::uint64_t v;
        std::memcpy(&v, bytes + at, 8);
        return v;
    };
    std::size_t first = 0;
    while (first + 32 <= n && (word(first) | word(first + 8) | word(first + 16) | word(first + 24)) == 0) first += 32;
    while (first < n && bytes[first] == 0) ++first;
    if (first == n) return {n, n};
    std::size_t end = n;
    while (end >= first + 8 && word(end - 8) == 0) end -= 8;
    while (bytes[end - 1] == 0) --end;
    return {first, end};
}
