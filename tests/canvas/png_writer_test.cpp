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

std::vector<std::uint8_t> by_rows(const RasterImage& image, const std::vector<std::uint8_t>* alpha) {
    std::vector<std::uint8_t> file;
    PngRowWriter writer(image.width(), image.height(), alpha != nullptr, [&](std::span<const std::uint8_t> bytes) {
        file.insert(file.end(), bytes.begin(), bytes.end());
        return true;
    });
    for (int y = 0; y < image.height(); ++y)
        EXPECT_TRUE(writer.add_row(image.row(y), alpha ? alpha->data() + static_cast<std::size_t>(y) * image.width() : nullptr));
    EXPECT_TRUE(writer.finish());
    return file;
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
            EXPECT_EQ(by_rows(image, with_alpha ? &alpha : nullptr), *file);
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
    // Noise past one IDAT chunk's 16 MB, made a row at a time: the same file.
    RasterImage noise(2400, 1800);
    std::vector<std::uint8_t> noise_alpha(static_cast<std::size_t>(2400) * 1800);
    unsigned seed = 7;
    for (std::uint8_t& a : noise_alpha) a = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < 3 * noise.width(); ++x)
            noise.row(y)[x] = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    const auto noise_file = encode_png(noise, &noise_alpha);
    ASSERT_TRUE(noise_file.has_value());
    EXPECT_GT(noise_file->size(), std::size_t{1} << 24);
    EXPECT_EQ(by_rows(noise, &noise_alpha), *noise_file);

    RasterImage image(4, 4);
    const std::vector<std::uint8_t> short_alpha(15, 255);
    EXPECT_FALSE(encode_png(image, &short_alpha).has_value());
}
