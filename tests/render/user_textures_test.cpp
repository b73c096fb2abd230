// The user's own texture sheets: untrusted files, checked before anything
// is written, and any PNG colour type and depth accepted.
#include "app/render/batch_run.hpp"
#include "app/render/command_line.hpp"

#include "../support/test_files.hpp"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Writes a width x height PNG whose pixel (x, y) is colour(x, y): 8-bit
// palette, or 16-bit RGB. Kept free of objects with destructors around
// libpng's longjmp.
struct PngSpec {
    int width, height;
    bool palette;
};
bool write_test_png(const char* path, PngSpec spec, png_bytepp rows, png_colorp palette) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, spec.width, spec.height, spec.palette ? 8 : 16,
                 spec.palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (spec.palette) png_set_PLTE(png, info, palette, 64);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

void write_sheet(const fs::path& path, int width, int height, bool palette) {
    std::vector<png_color> colours(64);
    for (int k = 0; k < 64; ++k)
        colours[k] = {static_cast<png_byte>(40 + 3 * k), static_cast<png_byte>(200 - 2 * k), static_cast<png_byte>(90)};
    const int bytes_per_pixel = palette ? 1 : 6;
    std::vector<std::vector<png_byte>> data(height,
                                            std::vector<png_byte>(static_cast<std::size_t>(width) * bytes_per_pixel));
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int k = (x / 8 + y / 8) % 64;
            if (palette) data[y][x] = static_cast<png_byte>(k);
            else
                for (int c = 0; c < 3; ++c) {
                    const int v = (c == 0 ? colours[k].red : c == 1 ? colours[k].green : colours[k].blue) * 257;
                    data[y][6 * x + 2 * c] = static_cast<png_byte>(v >> 8);
                    data[y][6 * x + 2 * c + 1] = static_cast<png_byte>(v & 255);
                }
        }
        rows[y] = data[y].data();
    }
    ASSERT_TRUE(write_test_png(path.c_str(), {width, height, palette}, rows.data(), colours.data()));
}

class TextureDir : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "sheets");
        for (const char* name : {"building_sheet.png", "ground_sheet.png", "boulder_sheet.png"})
            fs::copy_file(fs::path(BRANNOC_ASSETS_DIR) / name, dir_ / "sheets" / name);
    }
    std::pair<int, std::string> render(const std::string& kind) {
        const std::string out = (dir_ / "out").string(), sheets = (dir_ / "sheets").string();
        const char* argv[] = {"brannoc-render", "--kind", kind.c_str(), "--textures",
                              sheets.c_str(),   "--out",  out.c_str(),  "--quiet"};
        const ParsedCommandLine parsed = parse_render_command_line(8, argv);
        if (!parsed.settings) return {parsed.exit_code, parsed.text};
        std::FILE* report = std::tmpfile();
        const int code = run_batch(*parsed.settings, report);
        std::rewind(report);
        char line[512] = {};
        if (!std::fgets(line, sizeof line, report)) line[0] = '\0';
        std::fclose(report);
        return {code, line};
    }
    ScratchDir scratch_{"brannoc-textures-"};
    const fs::path& dir_ = scratch_.path();
};
}  // namespace

TEST_F(TextureDir, BrokenSheetsAreRejectedByNameWithNothingWritten) {
    const fs::path ground = dir_ / "sheets" / "ground_sheet.png";
    const std::vector<std::uint8_t> good = read_file(ground);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* says;
    };
    std::vector<std::uint8_t> truncated(good.begin(), good.begin() + good.size() / 2);
    std::vector<std::uint8_t> bad_crc = good;
    bad_crc[29] ^= 0x55;  // inside the header chunk's CRC
    const std::string text = "this is no picture";
    std::vector<Case> cases = {
        {"truncated", truncated, "is damaged"},
        {"bad CRC", bad_crc, "is not a readable PNG"},
        {"not a PNG", {text.begin(), text.end()}, "is not a readable PNG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(ground, std::ios::binary).write(reinterpret_cast<const char*>(c.bytes.data()), c.bytes.size());
        const auto [code, line] = render("water");
        EXPECT_EQ(code, 2);
        EXPECT_NE(line.find(ground.string()), std::string::npos) << line;
        EXPECT_NE(line.find(c.says), std::string::npos) << line;
        EXPECT_FALSE(fs::exists(dir_ / "out"));
    }
    write_sheet(ground, 320, 256, true);
    const auto [code, line] = render("water");
    EXPECT_EQ(code, 2);
    EXPECT_NE(line.find("is 320 x 256 pixels, not 640 x 512"), std::string::npos) << line;
    fs::remove(ground);
    EXPECT_EQ(render("water").first, 2);
    EXPECT_FALSE(fs::exists(dir_ / "out"));
}

TEST_F(TextureDir, PaletteAndSixteenBitSheetsAreConvertedAndDrawn) {
    const std::vector<std::uint8_t> builtin = [this] {
        fs::path plain = dir_ / "plain";
        const char* argv[] = {"brannoc-render", "--kind", "water", "--out", plain.c_str(), "--quiet"};
        run_batch(*parse_render_command_line(6, argv).settings, stderr);
        return read_file(plain / "water-0000.png");
    }();
    for (const bool palette : {true, false}) {
        SCOPED_TRACE(palette ? "palette" : "16-bit");
        write_sheet(dir_ / "sheets" / "ground_sheet.png", 640, 512, palette);
        fs::remove_all(dir_ / "out");
        const auto [code, line] = render("water");
        ASSERT_EQ(code, 0) << line;
        EXPECT_NE(read_file(dir_ / "out" / "water-0000.png"), builtin);
    }
}

TEST_F(TextureDir, AFolderAPipeADeviceOrAHugeFileIsRefusedWithoutWaiting) {
    const fs::path ground = dir_ / "sheets" / "ground_sheet.png";
    const std::vector<std::pair<std::function<void()>, const char*>> cases = {
        {[&] { fs::create_directory(ground); }, "is a folder, not a file"},
        {[&] { ASSERT_EQ(::mkfifo(ground.c_str(), 0644), 0); }, "is not a regular file"},
        {[&] { fs::create_symlink("/dev/zero", ground); }, "is not a regular file"},
        {[&] { fs::resize_file((std::ofstream(ground), ground), 640 * 512 * 8 + (2 << 20)); }, "is larger than"},
    };
    for (const auto& [make, says] : cases) {
        SCOPED_TRACE(says);
        fs::remove(ground);
        make();
        const auto [code, line] = render("water");
        EXPECT_EQ(code, 2);
        EXPECT_EQ(line.rfind("brannoc-render: " + ground.string() + ": cannot be read: ", 0), 0u) << line;
        EXPECT_NE(line.find(says), std::string::npos) << line;
        EXPECT_FALSE(fs::exists(dir_ / "out"));
    }
}

TEST_F(TextureDir, AChunkClaimingMoreThanTheFileHoldsIsRefusedBeforeItIsAllocated) {
    // A text chunk after the header that claims 2^31 - 1 bytes and holds 12.
    const fs::path ground = dir_ / "sheets" / "ground_sheet.png";
    std::vector<std::uint8_t> bytes = read_file(ground);
    const std::uint8_t claim[] = {0x7f, 0xff, 0xff, 0xff, 't', 'E', 'X', 't', 'C',
                                  'o',  'm',  'm',  'e',  'n', 't', 0,   'h', 'i'};
    bytes.insert(bytes.begin() + 33, std::begin(claim), std::end(claim));
    std::ofstream(ground, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        // A sanitizer reserves far more address space than this allows.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        const rlimit limit{1ul << 30, 1ul << 30};
        ::setrlimit(RLIMIT_AS, &limit);
#endif
        const auto [code, line] = render("water");
        [[maybe_unused]] const ssize_t n = ::write(fds[1], line.data(), line.size());
        ::_exit(code);
    }
    ::close(fds[1]);
    std::string line;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) line.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_NE(line.find("is damaged (its tEXt chunk claims 2147483647 bytes, more than the file holds)"),
              std::string::npos)
        << line;
}
