#include "canvas/huffman_code.hpp"

#include <algorithm>
#include <array>

namespace {
constexpr int deepest = 64;  // deeper than any tree of 2^32 counts
constexpr std::size_t most_symbols = 288;
}  // namespace

void huffman_lengths(std::span<const std::uint32_t> counts, int longest, std::span<std::uint8_t> lengths) {
    std::fill(lengths.begin(), lengths.end(), std::uint8_t{0});
    // The symbols seen, least seen first (a few hundred at most: no heap).
    std::array<std::pair<std::uint32_t, int>, most_symbols> seen;
    int leaves = 0;
    for (std::size_t i = 0; i < std::min(counts.size(), most_symbols); ++i)
        if (counts[i] > 0) seen[leaves++] = {counts[i], static_cast<int>(i)};
    if (leaves < 2) {
        const int only = leaves == 0 ? 0 : seen[0].second;
        lengths[only] = lengths[only == 0 ? 1 : 0] = 1;
        return;
    }
    std::sort(seen.begin(), seen.begin() + leaves);

    // Two queues, the sorted leaves and the nodes in the order they are made
    // (which is by weight): each step joins the two lightest.
    std::array<std::uint64_t, 2 * most_symbols> weight;
    std::array<int, 2 * most_symbols> parent;
    for (int i = 0; i < leaves; ++i) weight[i] = seen[i].first;
    int leaf = 0, node = leaves, made = leaves;
    auto lightest = [&] { return leaf < leaves && (node == made || weight[leaf] <= weight[node]) ? leaf++ : node++; };
    while (made < 2 * leaves - 1) {
        const int a = lightest(), b = lightest();
        weight[made] = weight[a] + weight[b];
        parent[a] = parent[b] = made++;
    }
    // Depths from the root down: every parent comes after its children.
    std::array<int, 2 * most_symbols> depth;
    std::array<int, deepest + 1> at_length{};
    depth[made - 1] = 0;
    for (int i = made - 2; i >= 0; --i) depth[i] = depth[parent[i]] + 1;
    for (int i = 0; i < leaves; ++i) ++at_length[std::min(depth[i], deepest)];

    // Codes past the longest come up to it; the code is then too full, so
    // one at a time a code at the longest is dropped and a shorter one
    // split in two, until it is exactly full again.
    for (int n = longest + 1; n <= deepest; ++n) at_length[longest] += at_length[n], at_length[n] = 0;
    std::uint32_t full = 0;
    for (int n = 1; n <= longest; ++n) full += static_cast<std::uint32_t>(at_length[n]) << (longest - n);
    for (; full > (1u << longest); --full) {
        --at_length[longest];
        for (int n = longest - 1; n > 0; --n)
            if (at_length[n] > 0) {
                --at_length[n];
                at_length[n + 1] += 2;
                break;
            }
    }
    // The least seen symbols take the longest codes.
    int next = 0;
    for (int n = longest; n > 0; --n)
        for (int k = 0; k < at_length[n]; ++k) lengths[seen[next++].second] = static_cast<std::uint8_t>(n);
}

void canonical_codes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes) {
    std::array<int, 16> count{};
    for (const std::uint8_t n : lengths) ++count[n];
    count[0] = 0;
    std::array<std::uint32_t, 16> next{};
    std::uint32_t code = 0;
    for (int n = 1; n < 16; ++n) next[n] = code = (code + count[n - 1]) << 1;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const int n = lengths[i];
        if (n == 0) continue;
        std::uint32_t forward = next[n]++, reversed = 0;
        for (int b = 0; b < n; ++b, forward >>= 1) reversed = reversed << 1 | (forward & 1);
        codes[i] = static_cast<std::uint16_t>(reversed);
    }
}
