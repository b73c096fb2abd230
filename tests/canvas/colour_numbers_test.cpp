#include "canvas/colour.hpp"
#include "canvas/numbers.hpp"
#include "canvas/random_source.hpp"

#include <gtest/gtest.h>

#include <array>
#include <limits>

TEST(Colour, ComponentsSpillWithoutMasking) {
    EXPECT_EQ(rgb(256, 0, 0), rgb(0, 1, 0));
    EXPECT_EQ(rgb(300, 0, 0), 300);
    EXPECT_EQ(red(rgb(300, 0, 0)), 44);
    EXPECT_EQ(green(rgb(300, 0, 0)), 1);
    EXPECT_EQ(rgb(255, 255, 255), 16777215);
}

TEST(Colour, NoColourReadsWhiteComponents) {
    EXPECT_EQ(red(no_colour), 255);
    EXPECT_EQ(green(no_colour), 255);
    EXPECT_EQ(blue(no_colour), 255);
    const Colour c = rgb(10, 20, 30);
    EXPECT_EQ(red(c), 10);
    EXPECT_EQ(green(c), 20);
    EXPECT_EQ(blue(c), 30);
}

TEST(Numbers, NearestRoundsHalvesToEven) {
    EXPECT_EQ(nearest_to_int(2.5), 2);
    EXPECT_EQ(nearest_to_int(3.5), 4);
    EXPECT_EQ(nearest_to_int(-2.5), -2);
    EXPECT_EQ(nearest_to_int(0.5), 0);
    EXPECT_EQ(nearest_to_int(-0.5), 0);
    EXPECT_EQ(nearest_to_int(2.51), 3);
    EXPECT_EQ(nearest_to_int(-2.7), -3);
}

TEST(Numbers, TruncGoesTowardZero) {
    EXPECT_EQ(trunc_to_int(2.7), 2);
    EXPECT_EQ(trunc_to_int(-2.7), -2);
    EXPECT_EQ(trunc_to_int(-0.9), 0);
}

TEST(Numbers, OutOfRangeGivesIntMin) {
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(trunc_to_int(3e9), min);
    EXPECT_EQ(nearest_to_int(-3e9), min);
    EXPECT_EQ(nearest_to_int(std::numeric_limits<double>::quiet_NaN()), min);
    EXPECT_EQ(trunc_to_int(-2147483648.0), min);
    EXPECT_EQ(trunc_to_int(2147483647.0), 2147483647);
}

TEST(RandomSource, ContractAtTheEdges) {
    RandomSource random(1);
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    for (int i = 0; i < 100; ++i) EXPECT_EQ(random.random_int(0), 0);
    EXPECT_EQ(random.random_int(-1), min);
    EXPECT_EQ(random_below(random, 1), 0);
    EXPECT_EQ(random_below(random, 0), min);
    EXPECT_EQ(random_below(random, -5), min);
    EXPECT_EQ(random_below(random, min), min);
    const std::int32_t big = random.random_int(std::numeric_limits<std::int32_t>::max());
    EXPECT_GE(big, 0);
}

TEST(RandomSource, UniformOverTheWholeRange) {
    RandomSource random(42);
    std::array<int, 10> counts{};
    constexpr int draws = 100000;
    for (int i = 0; i < draws; ++i) {
        const int v = random.random_int(9);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 9);
        ++counts[v];
    }
    for (int c : counts) EXPECT_NEAR(c, draws / 10, draws / 100);  // within 10 %
}

TEST(RandomSource, SameSeedSameSequenceDifferentSeedDifferent) {
    RandomSource a(7), b(7), c(8);
    bool differs = false;
    for (int i = 0; i < 50; ++i) {
        const int va = a.random_int(1000);
        EXPECT_EQ(va, b.random_int(1000));
        differs |= va != c.random_int(1000);
    }
    EXPECT_TRUE(differs);
}

TEST(RandomSource, SeedsItselfWhenNeverSeeded) {
    RandomSource random;
    bool varied = false;
    const int first = random.random_int(1 << 30);
    for (int i = 0; i < 10; ++i) varied |= random.random_int(1 << 30) != first;
    EXPECT_TRUE(varied);
}
