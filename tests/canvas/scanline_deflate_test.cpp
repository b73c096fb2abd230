// The deflater's streams inflated by zlib, byte for byte, and the codes it
// builds them from.
#include "canvas/huffman_code.hpp"
#include "canvas/scanline_deflate.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <numeric>

namespace {
struct Case {
    const char* what;
    std::size_t stride;
    int height, pixel_bytes;
    std::vector<std::uint8_t> rows;
};

std::vector<std::uint8_t> inflated(const std::vector<std::uint8_t>& stream, std::size_t expected) {
    std::vector<std::uint8_t> out(expected + 1);
    uLongf size = static_cast<uLongf>(out.size());
    if (uncompress(out.data(), &size, stream.data(), static_cast<uLong>(stream.size())) != Z_OK) return {};
    out.resize(size);
    return out;
}

// A tile-like image: a painted blob amid zero margins, with runs, repeats of
// the row above and noise inside it.
Case tile(std::size_t width, int height, int pixel_bytes, unsigned seed) {
    Case c{"tile", 1 + width * pixel_bytes, height, pixel_bytes, {}};
    c.rows.assign(c.stride * height, 0);
    for (int y = height / 4; y < 3 * height / 4; ++y) {
        std::uint8_t* row = c.rows.data() + c.stride * y;
        for (std::size_t x = width / 3; x < 2 * width / 3; ++x)
            for (int k = 0; k < pixel_bytes; ++k) {
                seed = seed * 1103515245u + 12345u;
                const std::uint8_t noise = static_cast<std::uint8_t>(seed >> 16);
                row[1 + x * pixel_bytes + k] =
                    y % 5 == 0 ? row[1 + x * pixel_bytes + k - c.stride] : x % 7 < 3 ? 200 : noise;
            }
    }
    return c;
}
}  // namespace

TEST(ScanlineDeflater, ZlibInflatesEveryImageToItsBytes) {
    std::vector<Case> cases = {
        tile(260, 260, 4, 1),
        tile(358, 395, 3, 2),
        tile(97, 61, 2, 3),
        // Wider than the window: the row above is out of reach.
        tile(9000, 12, 4, 4),
        {"one pixel", 5, 1, 4, {0, 9, 8, 7, 6}},
        {"one zero row", 4, 1, 3, {0, 0, 0, 0}},
        {"blank", 1 + 260 * 4, 260, 4, std::vector<std::uint8_t>((1 + 260 * 4) * 260, 0)},
    };
    // Noise everywhere: many blocks, most symbols literals.
    Case noise{"noise", 1 + 400 * 4, 300, 4, {}};
    unsigned seed = 5;
    for (std::size_t i = 0; i < noise.stride * noise.height; ++i)
        noise.rows.push_back(static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16));
    cases.push_back(noise);
    // One colour throughout, filter bytes aside: every row repeats.
    Case flat{"flat", 1 + 300 * 3, 200, 3, std::vector<std::uint8_t>((1 + 300 * 3) * 200, 77)};
    for (int y = 0; y < flat.height; ++y) flat.rows[flat.stride * y] = 0;
    cases.push_back(flat);

    ScanlineDeflater deflater, by_rows;
    for (int round = 0; round < 2; ++round)  // the second with what the first left in the table
        for (const Case& c : cases) {
            const std::span<const std::uint8_t> made = deflater.deflate(c.rows.data(), c.stride, c.height, c.pixel_bytes);
            const std::vector<std::uint8_t> stream(made.begin(), made.end());
            EXPECT_EQ(inflated(stream, c.rows.size()), c.rows) << c.what;
            // Row by row, never holding the image: the same stream.
            std::vector<std::uint8_t> streamed;
            const auto take = [&](std::span<const std::uint8_t> bytes) { streamed.insert(streamed.end(), bytes.begin(), bytes.end()); };
            by_rows.begin(c.stride, c.height, c.pixel_bytes);
            for (int y = 0; y < c.height; ++y) take(by_rows.add_row(c.rows.data() + c.stride * y));
            take(by_rows.finish());
            EXPECT_EQ(streamed, stream) << c.what;
            // Margins are copies, never searched bytes: a blank image is almost nothing.
            if (c.what == std::string("blank")) {
                EXPECT_LT(stream.size(), 600u);
            }
        }
}

TEST(HuffmanCode, LengthsStayWithinTheLimitAndFillTheCodeExactly) {
    // Fibonacci counts make the deepest tree: 30 symbols would need 29 bits.
    std::array<std::uint32_t, 30> fibonacci{};
    fibonacci[0] = fibonacci[1] = 1;
    for (std::size_t i = 2; i < fibonacci.size(); ++i) fibonacci[i] = fibonacci[i - 1] + fibonacci[i - 2];
    const std::vector<std::vector<std::uint32_t>> counts = {
        {fibonacci.begin(), fibonacci.end()}, {0, 0, 0, 5, 0}, {0, 0, 0, 0}, {3, 3, 3}, {0, 9, 0, 1, 1, 0, 4}};
    for (const int longest : {15, 7})
        for (const std::vector<std::uint32_t>& c : counts) {
            std::vector<std::uint8_t> lengths(c.size(), 99);
            huffman_lengths(c, longest, lengths);
            double kraft = 0;
            for (std::size_t i = 0; i < c.size(); ++i) {
                EXPECT_LE(lengths[i], longest);
                if (c[i] > 0) {
                    EXPECT_GT(lengths[i], 0) << i;
                }
                if (lengths[i] > 0) kraft += 1.0 / (1 << lengths[i]);
            }
            EXPECT_DOUBLE_EQ(kraft, 1.0) << c.size() << " symbols, longest " << longest;
        }
    // Canonical codes of lengths 2, 1, 3, 3 (RFC 1951's example, reversed).
    std::array<std::uint16_t, 4> codes{};
    canonical_codes(std::array<std::uint8_t, 4>{2, 1, 3, 3}, codes);
    EXPECT_EQ(codes, (std::array<std::uint16_t, 4>{0b01, 0b0, 0b011, 0b111}));
}
