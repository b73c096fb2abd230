// Animated GIFs: the same frames give the same bytes, however many threads
// encode at once.
#include "canvas/gif_writer.hpp"
#include "canvas/random_source.hpp"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(GifWriter, EncodingAtOnceOnSeveralThreadsGivesTheSameBytes) {
    // Frames with many colours keep the quantizer busy long enough for the
    // threads to overlap.
    RandomSource random(5);
    std::vector<RasterImage> frames(3, RasterImage(160, 160));
    for (RasterImage& frame : frames)
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                frame.set_pixel(x, y, rgb(random_below(random, 256), random_below(random, 256), (x + y) & 255));
    const std::vector<const RasterImage*> pointers = {&frames[0], &frames[1], &frames[2]};
    const std::vector<std::uint8_t> alone = encode_gif(pointers, nullptr, 100);
    ASSERT_FALSE(alone.empty());
    std::vector<std::vector<std::uint8_t>> results(8);
    std::vector<std::thread> threads;
    for (std::vector<std::uint8_t>& result : results)
        threads.emplace_back([&] { result = encode_gif(pointers, nullptr, 100); });
    for (std::thread& thread : threads) thread.join();
    for (const std::vector<std::uint8_t>& result : results) EXPECT_EQ(result, alone);
}
