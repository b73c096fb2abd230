#include "canvas/bmp_writer.hpp"

#include "../support/test_files.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

RasterImage patterned(int w, int h) {
    RasterImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.set_pixel(x, y, rgb(x * 7 + 1, y * 5 + 2, (x + y) & 255));
    return image;
}

class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("brannoc-bmp-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

}  // namespace

TEST(BmpBytes, StrideAndSizesForSmallAndRealWidths) {
    EXPECT_EQ(bmp_stride(1), 4);
    EXPECT_EQ(bmp_stride(2), 8);
    EXPECT_EQ(bmp_stride(3), 12);
    EXPECT_EQ(bmp_stride(4), 12);
    EXPECT_EQ(bmp_stride(5), 16);
    EXPECT_EQ(bmp_stride(260), 780);
    EXPECT_EQ(bmp_stride(1200), 3600);

    for (auto [w, h, file_size] : {std::tuple{260, 260, 202854u}, {1200, 1000, 3600054u}}) {
        const auto bytes = bmp_file_bytes(RasterImage(w, h));
        EXPECT_EQ(bytes.size(), file_size);
        EXPECT_EQ(u32(bytes, 2), file_size);
        EXPECT_EQ(u32(bytes, 34), file_size - 54);
    }
}

TEST(BmpBytes, HeaderFields) {
    for (int w = 1; w <= 5; ++w) {
        const auto bytes = bmp_file_bytes(patterned(w, 3));
        const std::uint32_t data = static_cast<std::uint32_t>(bmp_stride(w)) * 3;
        ASSERT_EQ(bytes.size(), 54 + data);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(u32(bytes, 2), 54 + data);
        EXPECT_EQ(u32(bytes, 6), 0u);
        EXPECT_EQ(u32(bytes, 10), 54u);
        EXPECT_EQ(u32(bytes, 14), 40u);
        EXPECT_EQ(u32(bytes, 18), static_cast<std::uint32_t>(w));
        EXPECT_EQ(u32(bytes, 22), 3u);
        EXPECT_EQ(u16(bytes, 26), 1);
        EXPECT_EQ(u16(bytes, 28), 24);
        EXPECT_EQ(u32(bytes, 30), 0u);
        EXPECT_EQ(u32(bytes, 34), data);
        for (std::size_t at : {38u, 42u, 46u, 50u}) EXPECT_EQ(u32(bytes, at), 0u);
    }
}

TEST(BmpBytes, RowsBottomUpBgrWithZeroPadding) {
    for (int w = 1; w <= 5; ++w) {
        const RasterImage image = patterned(w, 4);
        const auto bytes = bmp_file_bytes(image);
        const int stride = bmp_stride(w);
        for (int y = 0; y < 4; ++y) {
            const std::size_t row = 54 + static_cast<std::size_t>(3 - y) * stride;  // bottom row first
            for (int x = 0; x < w; ++x) {
                const Colour c = image.pixel(x, y);
                EXPECT_EQ(bytes[row + 3 * x], blue(c));
                EXPECT_EQ(bytes[row + 3 * x + 1], green(c));
                EXPECT_EQ(bytes[row + 3 * x + 2], red(c));
            }
            for (int p = 3 * w; p < stride; ++p) EXPECT_EQ(bytes[row + p], 0) << "padding, width " << w;
        }
    }
    RasterImage one(1, 1);
    one.set_pixel(0, 0, rgb(10, 20, 30));
    const auto bytes = bmp_file_bytes(one);
    EXPECT_EQ(bytes[54], 30);
    EXPECT_EQ(bytes[55], 20);
    EXPECT_EQ(bytes[56], 10);
}

TEST(BmpBytes, PackedDibIsTheFileWithoutItsFileHeader) {
    const RasterImage image = patterned(260, 260);
    const auto file = bmp_file_bytes(image);
    const auto dib = packed_dib_bytes(image);
    ASSERT_EQ(dib.size(), file.size() - 14);
    EXPECT_TRUE(std::equal(dib.begin(), dib.end(), file.begin() + 14));
    EXPECT_EQ(bmp_pixel_block(image).size(), 202800u);
}

TEST_F(TempDir, WriteBmpWritesExactlyTheBytes) {
    const RasterImage image = patterned(7, 5);
    const fs::path path = dir_ / "tile.bmp";
    const WriteResult result = write_bmp(image, path.string());
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(read_file(path), bmp_file_bytes(image));
    // Nothing is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(TempDir, ReplacingALargerFileLeavesExactlyTheNewOne) {
    const fs::path path = dir_ / "tile.bmp";
    ASSERT_TRUE(write_bmp(patterned(300, 300), path.string()).ok);
    ::chmod(path.c_str(), 0640);
    const RasterImage small = patterned(3, 2);
    ASSERT_TRUE(write_bmp(small, path.string()).ok);
    EXPECT_EQ(fs::file_size(path), 54u + 12u * 2u);
    EXPECT_EQ(read_file(path), bmp_file_bytes(small));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "a replaced file keeps its permissions";
}

TEST_F(TempDir, WritingThroughASymlinkReplacesTheTarget) {
    const fs::path target = dir_ / "real.bmp";
    const fs::path link = dir_ / "link.bmp";
    ASSERT_TRUE(write_bmp(patterned(2, 2), target.string()).ok);
    fs::create_symlink(target, link);
    const RasterImage image = patterned(4, 4);
    ASSERT_TRUE(write_bmp(image, link.string()).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(read_file(target), bmp_file_bytes(image));
}

TEST_F(TempDir, FailuresReportAReasonAndLoseNothing) {
    const fs::path path = dir_ / "keep.bmp";
    const RasterImage first = patterned(5, 5);
    ASSERT_TRUE(write_bmp(first, path.string()).ok);

    EXPECT_FALSE(write_bmp(first, "").ok);
    EXPECT_FALSE(write_bmp(RasterImage(), path.string()).ok);

    const WriteResult missing = write_bmp(first, (dir_ / "no/such/dir/x.bmp").string());
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());

    const WriteResult directory = write_bmp(first, dir_.string());
    EXPECT_FALSE(directory.ok);

    const WriteResult full = write_bmp(patterned(100, 100), "/dev/full");
    EXPECT_FALSE(full.ok);
    EXPECT_NE(full.error.find("space"), std::string::npos) << full.error;
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    // A directory that takes no new files, even for root.
    EXPECT_FALSE(write_bmp(first, "/proc/brannoc-test.bmp").ok);

    EXPECT_EQ(read_file(path), bmp_file_bytes(first));
}
