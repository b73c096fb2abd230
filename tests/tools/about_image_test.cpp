// The committed About picture is what the house generator draws from the
// committed sheets with the About settings.
#include "about_render.hpp"
#include "canvas/png_image.hpp"
#include "png_io.hpp"

#include <gtest/gtest.h>
#include <png.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
std::string asset(const char* name) { return std::string(BRANNOC_ASSETS_DIR) + "/" + name; }

RasterImage sheet(const char* name) {
    std::ifstream in(asset(name), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto image = image_from_png(bytes);
    EXPECT_TRUE(image.has_value()) << name;
    return image ? *image : RasterImage();
}
}  // namespace

TEST(AboutImage, IsTheHouseGeneratorsDrawingFromTheCommittedSheets) {
    const RasterImage drawn =
        render_about_image(sheet("building_sheet.png"), sheet("ground_sheet.png"), sheet("boulder_sheet.png"));
    ASSERT_EQ(drawn.width(), about_width);
    ASSERT_EQ(drawn.height(), about_height);

    auto info = texgen::read_png_info(asset("about_image.png"));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->bit_depth, 8);
    EXPECT_EQ(info->colour_type, PNG_COLOR_TYPE_RGB);
    auto committed = texgen::read_png(asset("about_image.png"));
    ASSERT_TRUE(committed.has_value());
    ASSERT_EQ(committed->width(), about_width);
    ASSERT_EQ(committed->height(), about_height);
    long differing = 0, painted = 0;
    for (int y = 0; y < about_height; ++y)
        for (int x = 0; x < about_width; ++x) {
            const Colour c = drawn.pixel(x, y);
            const texgen::Rgb p = committed->at(x, y);
            differing += p.r != red(c) || p.g != green(c) || p.b != blue(c);
            painted += c != 0;
        }
    EXPECT_EQ(differing, 0) << "regenerate with brannoc-about and commit assets/about_image.png";
    EXPECT_GT(painted, about_width * about_height / 3);  // a house, not an empty frame
}
