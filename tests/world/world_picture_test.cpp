// A world whose render is larger than any one image Tiled (or this program,
// once) could hold: world.png is drawn and encoded a band of rows at a time.
// Tiled cannot render the whole map, so its rows are checked in strips:
// chunks of the same world (the same cells, tiles and objects) rendered by
// tmxrasterizer, each against the rows of world.png it covers. Only the
// rows no cell outside the chunk reaches are compared (every pixel of them,
// those outside the chunk's columns transparent black), so the seams, where
// a neighbour's tiles overlap, are left out.
#include "app/render/world_run.hpp"
#include "generators/world/world_chunks.hpp"

#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {
namespace fs = std::filesystem;

// Reads a PNG a row at a time through libpng's own reader, as RGBA.
class PngRows {
public:
    explicit PngRows(const fs::path& path) : file_(std::fopen(path.c_str(), "rb")) {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        info_ = png_create_info_struct(png_);
        if (!file_ || setjmp(png_jmpbuf(png_))) return;
        png_init_io(png_, file_);
        png_read_info(png_, info_);
        png_set_expand(png_);
        png_set_add_alpha(png_, 0xff, PNG_FILLER_AFTER);
        png_read_update_info(png_, info_);
        width = static_cast<int>(png_get_image_width(png_, info_));
        height = static_cast<int>(png_get_image_height(png_, info_));
        row.resize(4 * static_cast<std::size_t>(width));
    }
    ~PngRows() {
        png_destroy_read_struct(&png_, &info_, nullptr);
        if (file_) std::fclose(file_);
    }
    bool next() {
        if (setjmp(png_jmpbuf(png_))) return false;
        png_read_row(png_, row.data(), nullptr);
        return true;
    }
    int width = 0, height = 0;
    std::vector<std::uint8_t> row;

private:
    std::FILE* file_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};
}  // namespace

TEST(WorldPicture, RowsPastTwoToTheTwentyNinePixelsMatchTiledsRenderInStrips) {
    const ScratchDir dir("brannoc-world-picture-");
    // 1700 x 1 cells at width 40: 34020 x 17010 pixels, almost all of them
    // empty, but every one encoded.
    const std::vector<std::string> world = {"--size", "1700x1", "--iso-width", "40", "--levels", "0", "--seed", "3"};
    std::vector<std::string> whole = world;
    whole.insert(whole.end(), {"--out", (dir.path() / "whole").string()});
    ASSERT_EQ(run_world_render(whole), 0);
    PngRows png(dir.path() / "whole" / "world.png");
    ASSERT_GT(static_cast<long long>(png.width) * png.height, 1LL << 29);

    // Three chunks of 17: the first, one amid, the last.
    constexpr int chunks = 17, half_w = 20, half_h = 10;
    constexpr int seam = 80;  // rows a neighbouring cell's tiles and objects may reach into
    std::vector<WorldChunk> strips;
    std::vector<Rgba> tiled;
    for (const int k : {0, 8, 16}) {
        std::vector<std::string> args = world;
        args.insert(args.end(), {"--shard", std::to_string(k) + "/" + std::to_string(chunks), "--out",
                                 (dir.path() / "chunks").string()});
        ASSERT_EQ(run_world_render(args), 0);
        strips.push_back(world_chunk(1700, 1, k, chunks));
        const fs::path tmx = dir.path() / "chunks" / (strips.back().stem + ".tmx");
        const fs::path out = dir.path() / (strips.back().stem + "_tiled.png");
        ASSERT_EQ(std::system(("QT_QPA_PLATFORM=offscreen tmxrasterizer " + tmx.string() + " " + out.string() +
                               " >/dev/null 2>&1")
                                  .c_str()),
                  0)
            << "tmxrasterizer (Debian package tiled) must be installed";
        tiled.push_back(read_rgba(out));
        ASSERT_GT(tiled.back().width, 0);
    }

    long compared = 0, differing = 0;
    std::string first;
    for (int y = 0; y < png.height; ++y) {
        ASSERT_TRUE(png.next()) << "row " << y;
        for (std::size_t s = 0; s < strips.size(); ++s) {
            // The chunk's frame lies in world.png moved by its first cell.
            const int dx = strips[s].x0 * half_w, dy = strips[s].x0 * half_h;
            const int cy = y - dy, top = strips[s].x0 == 0 ? 0 : seam;
            const int bottom = strips[s].x0 + strips[s].width == 1700 ? tiled[s].height : tiled[s].height - seam;
            if (cy < top || cy >= bottom) continue;
            for (int x = 0; x < png.width; ++x) {
                const std::uint8_t* ours = &png.row[4 * static_cast<std::size_t>(x)];
                const bool inside = x >= dx && x - dx < tiled[s].width;
                const std::uint8_t none[4] = {0, 0, 0, 0};
                const std::uint8_t* theirs = inside ? tiled[s].at(x - dx, cy) : none;
                ++compared;
                if (std::equal(ours, ours + 4, theirs)) continue;
                if (differing++ == 0)
                    first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") in strip " + std::to_string(s);
            }
        }
    }
    EXPECT_GT(compared, 3L * 800 * png.width);
    EXPECT_EQ(differing, 0) << "first at " << first;
}

TEST(WorldPicture, NoPictureWritesTheSameEngineFilesWithoutWorldPng) {
    const ScratchDir dir("brannoc-world-no-picture-");
    const std::vector<std::string> world = {"--size", "6x5", "--iso-width", "40", "--seed", "5"};
    for (const char* out : {"with", "without"}) {
        std::vector<std::string> args = world;
        if (out == std::string("without")) args.push_back("--no-picture");
        args.insert(args.end(), {"--out", (dir.path() / out).string()});
        ASSERT_EQ(run_world_render(args), 0);
    }
    EXPECT_TRUE(fs::exists(dir.path() / "with" / "world.png"));
    EXPECT_FALSE(fs::exists(dir.path() / "without" / "world.png"));
    const nlohmann::json manifest = read_json(dir.path() / "without" / "world.json");
    EXPECT_FALSE(manifest["files"].contains("world.png"));
    EXPECT_EQ(manifest["settings"]["no-picture"], true);
    for (const auto& entry : fs::recursive_directory_iterator(dir.path() / "without")) {
        if (!entry.is_regular_file() || entry.path().filename() == "world.json") continue;
        const fs::path same = dir.path() / "with" / fs::relative(entry.path(), dir.path() / "without");
        EXPECT_EQ(read_file(entry.path()), read_file(same)) << entry.path();
    }
}
