// Every PNG the writer makes is read back through libpng, pixel for pixel.
#include "canvas/png_writer.hpp"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

namespace {
// The file decoded by libpng as 8-bit RGBA; empty when libpng refuses it.
std::vector<std::uint8_t> libpng_rgba(const std::vector<std::uint8_t>& file, int& width, int& height) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
    image.format = PNG_FORMAT_RGBA;
    width = static_cast<int>(image.width), height = static_cast<int>(image.height);
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    return pixels;
}
}  // namespace

TEST(PngWriter, LibpngReadsBackEveryPixelAndItsAlpha) {
    // Odd sizes, noise beside long empty runs, one pixel, a wide strip.
    for (const auto& [w, h] : {std::pair{1, 1}, {37, 23}, {300, 2}, {260, 260}}) {
        RasterImage image(w, h);
        std::vector<std::uint8_t> alpha(static_cast<std::size_t>(w) * h);
        unsigned noise = 12345;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                noise = noise * 1103515245u + 12345u;
                if (x < w / 3) continue;
                image.set_pixel(x, y, static_cast<Colour>(noise >> 8 & 0xffffff));
                alpha[static_cast<std::size_t>(y) * w + x] = static_cast<std::uint8_t>(noise >> 24 | 1);
            }
        for (const bool with_alpha : {false, true}) {
            const auto file = encode_png(image, with_alpha ? &alpha : nullptr);
            ASSERT_TRUE(file.has_value());
            int width = 0, height = 0;
            const std::vector<std::uint8_t> rgba = libpng_rgba(*file, width, height);
            ASSERT_EQ(width, w);
            ASSERT_EQ(height, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
                    const std::size_t at = static_cast<std::size_t>(y) * w + x;
                    ASSERT_EQ(rgb(p[0], p[1], p[2]), image.pixel(x, y)) << w << " " << x << "," << y;
                    ASSERT_EQ(p[3], with_alpha ? alpha[at] : 255) << w << " " << x << "," << y;
                }
        }
    }
    RasterImage image(4, 4);
    const std::vector<std::uint8_t> short_alpha(15, 255);
    EXPECT_FALSE(encode_png(image, &short_alpha).has_value());
}
