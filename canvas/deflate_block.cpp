#include "canvas/deflate_block.hpp"

#include "canvas/huffman_code.hpp"

#include <algorithm>
#include <array>

namespace {
constexpr int literal_codes = 286, distance_codes = 30, length_code_codes = 19;
constexpr int end_of_block = 256;

constexpr std::array<std::uint16_t, 29> length_base = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> length_extra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> distance_base = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,
                                                         33,   49,   65,   97,   129,  193,   257,   385,   513,   769,
                                                         1025, 1537, 2049, 3073, 4097, 6145,  8193,  12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> distance_extra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order the code-length code's lengths are sent in.
constexpr std::array<std::uint8_t, 19> length_code_order = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                            11, 4,  12, 3, 13, 2, 14, 1, 15};

int slow_code(const auto& base, int value) {
    int code = 0;
    while (code + 1 < static_cast<int>(base.size()) && base[code + 1] <= value) ++code;
    return code;
}

// Which code sends a length, and a distance: distances above 512 start their
// codes at multiples of 128 plus one, so one entry a 128 covers them.
struct CodeTables {
    std::array<std::uint8_t, 259> length_code{};
    std::array<std::uint8_t, 513> near_distance_code{};
    std::array<std::uint8_t, 256> far_distance_code{};
    CodeTables() {
        for (int n = 3; n <= 258; ++n) length_code[n] = static_cast<std::uint8_t>(slow_code(length_base, n));
        for (int d = 1; d <= 512; ++d) near_distance_code[d] = static_cast<std::uint8_t>(slow_code(distance_base, d));
        for (int k = 0; k < 256; ++k)
            far_distance_code[k] = static_cast<std::uint8_t>(slow_code(distance_base, k * 128 + 1));
    }
    int distance(int d) const { return d <= 512 ? near_distance_code[d] : far_distance_code[(d - 1) >> 7]; }
};
const CodeTables tables;

// The lengths of both codes run-length coded with symbols 16 (the last
// length 3 to 6 times more), 17 (3 to 10 zeros) and 18 (11 to 138 zeros).
struct LengthRun {
    std::uint8_t symbol, extra;
};
int run_length_code(std::span<const std::uint8_t> lengths, LengthRun* runs) {
    int count = 0;
    for (std::size_t i = 0; i < lengths.size();) {
        const std::uint8_t value = lengths[i];
        std::size_t end = i;
        while (end < lengths.size() && lengths[end] == value) ++end;
        int left = static_cast<int>(end - i);
        if (value == 0) {
            for (; left >= 11; left -= std::min(left, 138))
                runs[count++] = {18, static_cast<std::uint8_t>(std::min(left, 138) - 11)};
            if (left >= 3) runs[count++] = {17, static_cast<std::uint8_t>(left - 3)}, left = 0;
        } else {
            runs[count++] = {value, 0}, --left;
            for (; left >= 3; left -= std::min(left, 6))
                runs[count++] = {16, static_cast<std::uint8_t>(std::min(left, 6) - 3)};
        }
        for (; left > 0; --left) runs[count++] = {value, 0};
        i = end;
    }
    return count;
}
}  // namespace

void write_deflate_block(std::span<const DeflateSymbol> symbols, bool last, DeflateBits& bits) {
    std::array<std::uint32_t, literal_codes> literal_counts{};
    std::array<std::uint32_t, distance_codes> distance_counts{};
    for (const DeflateSymbol s : symbols) {
        if (s.distance == 0) {
            ++literal_counts[s.value];
            continue;
        }
        ++literal_counts[257 + tables.length_code[s.value]];
        ++distance_counts[tables.distance(s.distance)];
    }
    literal_counts[end_of_block] = 1;
    std::array<std::uint8_t, literal_codes + distance_codes> lengths{};
    huffman_lengths(literal_counts, 15, std::span(lengths).first(literal_codes));
    huffman_lengths(distance_counts, 15, std::span(lengths).subspan(literal_codes));
    int literals_sent = literal_codes, distances_sent = distance_codes;
    while (lengths[literals_sent - 1] == 0) --literals_sent;  // never below 257: the end is always there
    while (distances_sent > 1 && lengths[literal_codes + distances_sent - 1] == 0) --distances_sent;
    // Both codes' lengths back to back, as the header sends them.
    std::array<std::uint8_t, literal_codes + distance_codes> sent{};
    std::copy_n(lengths.begin(), literals_sent, sent.begin());
    std::copy_n(lengths.begin() + literal_codes, distances_sent, sent.begin() + literals_sent);
    std::array<LengthRun, literal_codes + distance_codes> runs{};
    const int run_count =
        run_length_code(std::span(sent).first(static_cast<std::size_t>(literals_sent + distances_sent)), runs.data());
    std::array<std::uint32_t, length_code_codes> run_counts{};
    for (int i = 0; i < run_count; ++i) ++run_counts[runs[i].symbol];
    std::array<std::uint8_t, length_code_codes> run_lengths{};
    std::array<std::uint16_t, length_code_codes> run_codes{};
    huffman_lengths(run_counts, 7, run_lengths);
    canonical_codes(run_lengths, run_codes);
    int run_lengths_sent = length_code_codes;
    while (run_lengths_sent > 4 && run_lengths[length_code_order[run_lengths_sent - 1]] == 0) --run_lengths_sent;

    // At most 48 bits a symbol, and the header's 17 + 19 x 3 + 316 x 14.
    BitCursor out = bits.cursor(symbols.size() * 6 + 600);
    out.put((last ? 1u : 0u) | 2u << 1 | static_cast<std::uint32_t>(literals_sent - 257) << 3 |
                 static_cast<std::uint32_t>(distances_sent - 1) << 8 |
                 static_cast<std::uint32_t>(run_lengths_sent - 4) << 13,
             17);
    for (int i = 0; i < run_lengths_sent; ++i) out.put(run_lengths[length_code_order[i]], 3);
    for (int i = 0; i < run_count; ++i) {
        const LengthRun r = runs[i];
        out.put(run_codes[r.symbol], run_lengths[r.symbol]);
        if (r.symbol >= 16) out.put(r.extra, r.symbol == 16 ? 2 : r.symbol == 17 ? 3 : 7);
    }

    std::array<std::uint16_t, literal_codes + distance_codes> codes{};
    canonical_codes(std::span(lengths).first(literal_codes), std::span(codes).first(literal_codes));
    canonical_codes(std::span(lengths).subspan(literal_codes), std::span(codes).subspan(literal_codes));
    const std::uint16_t* distance_code = codes.data() + literal_codes;
    const std::uint8_t* distance_length = lengths.data() + literal_codes;
    for (const DeflateSymbol s : symbols) {
        if (s.distance == 0) {
            out.put(codes[s.value], lengths[s.value]);
            continue;
        }
        // A length and its distance in one put: at most 15 + 5 + 15 + 13 bits.
        const int l = tables.length_code[s.value], d = tables.distance(s.distance);
        std::uint64_t word = codes[257 + l];
        int count = lengths[257 + l];
        word |= static_cast<std::uint64_t>(s.value - length_base[l]) << count, count += length_extra[l];
        word |= static_cast<std::uint64_t>(distance_code[d]) << count, count += distance_length[d];
        word |= static_cast<std::uint64_t>(s.distance - distance_base[d]) << count, count += distance_extra[d];
        out.put(word, count);
    }
    out.put(codes[end_of_block], lengths[end_of_block]);
    bits.advance(out);
}
