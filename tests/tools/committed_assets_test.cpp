// The committed PNGs are what the program embeds: check their format and that
// the tool still produces exactly their pixels.
#include "png_io.hpp"
#include "test_sheets.hpp"

#include <gtest/gtest.h>
#include <png.h>

using namespace texgen;

namespace {

struct AssetCase {
    const char* file;
    int width;
    int height;
    const PixelImage SheetSet::*image;
};

const AssetCase kAssets[] = {
    {"boulder_sheet.png", 256, 256, &SheetSet::boulder},
    {"ground_sheet.png", 640, 512, &SheetSet::ground},
    {"building_sheet.png", 776, 774, &SheetSet::building},
};

}  // namespace

TEST(CommittedAssets, AreEightBitRgbNotInterlacedOfTheirSize) {
    for (const AssetCase& a : kAssets) {
        SCOPED_TRACE(a.file);
        auto info = read_png_info(asset_path(a.file));
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->width, a.width);
        EXPECT_EQ(info->height, a.height);
        EXPECT_EQ(info->bit_depth, 8);
        EXPECT_EQ(info->colour_type, PNG_COLOR_TYPE_RGB);
        EXPECT_EQ(info->interlace, PNG_INTERLACE_NONE);
    }
}

TEST(CommittedAssets, RegeneratingReproducesEveryPixel) {
    const SheetSet& fresh = generated_sheets();
    for (const AssetCase& a : kAssets) {
        SCOPED_TRACE(a.file);
        auto committed = read_png(asset_path(a.file));
        ASSERT_TRUE(committed.has_value());
        const PixelImage& made = fresh.*(a.image);
        ASSERT_EQ(made.width(), committed->width());
        ASSERT_EQ(made.height(), committed->height());
        long differing = 0;
        for (int y = 0; y < made.height(); ++y)
            for (int x = 0; x < made.width(); ++x)
                if (!(made.at(x, y) == committed->at(x, y))) ++differing;
        EXPECT_EQ(differing, 0) << "regenerate with brannoc-texgen and commit the assets";
    }
}

TEST(PngIo, WritesAndReadsBackTheSamePixels) {
    PixelImage img(5, 3);
    img.set(0, 0, {1, 2, 3});
    img.set(4, 2, {255, 0, 255});
    img.set(2, 1, {9, 200, 77});
    std::string path = testing::TempDir() + "texgen_roundtrip.png";
    ASSERT_TRUE(write_png(path, img));
    auto back = read_png(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(*back == img);
}

TEST(PngIo, RejectsMissingAndNonPngFiles) {
    EXPECT_FALSE(read_png(testing::TempDir() + "no_such_file.png").has_value());
    std::string path = testing::TempDir() + "texgen_not_png.png";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fputs("not a png at all", f);
        std::fclose(f);
    }
    EXPECT_FALSE(read_png_info(path).has_value());
    EXPECT_FALSE(write_png("/nonexistent-dir/x.png", PixelImage(1, 1)));
}
