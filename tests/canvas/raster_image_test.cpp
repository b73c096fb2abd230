#include "canvas/drawing_context.hpp"
#include "canvas/png_image.hpp"
#include "canvas/raster_image.hpp"

#include <gtest/gtest.h>

namespace {
RasterImage numbered(int w, int h) {
    RasterImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.set_pixel(x, y, rgb(x, y, 7));
    return image;
}
}  // namespace

TEST(RasterImage, NewImageIsBlackAndAtLeastOnePixel) {
    const RasterImage image = create_image(5, 4);
    EXPECT_EQ(image.width(), 5);
    EXPECT_EQ(image.height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(image.pixel(x, y), 0);
    const RasterImage tiny = create_image(0, -3);
    EXPECT_EQ(tiny.width(), 1);
    EXPECT_EQ(tiny.height(), 1);
}

TEST(RasterImage, GrabCopiesAndBlackensOutside) {
    const RasterImage source = numbered(40, 40);
    const RasterImage above = grab_image(source, 0, -10, 20, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(above.pixel(x, y), y < 10 ? 0 : source.pixel(x, y - 10)) << x << "," << y;

    // Reaching past every edge at once.
    const RasterImage around = grab_image(source, -5, -5, 50, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            EXPECT_EQ(around.pixel(x, y), source.colour_at(x - 5, y - 5) == no_colour ? 0 : source.pixel(x - 5, y - 5));

    const RasterImage outside = grab_image(source, 100, 100, 3, 3);
    EXPECT_EQ(outside, RasterImage(3, 3));
}

TEST(RasterImage, DrawImageAtNegativeOffsetClips) {
    RasterImage target(100, 100);
    RasterImage source(64, 64);
    {
        DrawingContext dc(source);
        dc.box(0, 0, 64, 64, rgb(1, 2, 3));
    }
    DrawingContext dc(target);
    dc.draw_image(source, -10, -10);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(target.pixel(x, y), (x <= 53 && y <= 53) ? rgb(1, 2, 3) : 0) << x << "," << y;
}

TEST(RasterImage, DrawImageCopiesExactlyAndPastRightAndBottom) {
    RasterImage target(10, 10);
    const RasterImage source = numbered(6, 6);
    DrawingContext dc(target);
    dc.draw_image(source, 7, 8);
    EXPECT_EQ(target.pixel(7, 8), source.pixel(0, 0));
    EXPECT_EQ(target.pixel(9, 9), source.pixel(2, 1));
    EXPECT_EQ(target.pixel(6, 8), 0);
    dc.stop_drawing();
    dc.draw_image(source, 0, 0);  // no context: nothing
    EXPECT_EQ(target.pixel(0, 0), 0);
}

TEST(PngImage, RejectsDataThatIsNotPng) {
    const std::uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_FALSE(image_from_png(junk).has_value());
    EXPECT_FALSE(image_from_png({}).has_value());
}
