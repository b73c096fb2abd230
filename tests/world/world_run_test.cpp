// brannoc-render world as a game developer runs it: Tiled draws the map
// exactly as we do, the tiles meet, and the same seed writes the same bytes.
#include "app/render/world_run.hpp"
#include "export/world/world_layout.hpp"

#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace {
namespace fs = std::filesystem;

int run_world_render(std::vector<std::string> args) {
    args.insert(args.begin(), "world");
    args.push_back("--quiet");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    const ParsedCommandLine parsed = parse_render_command_line(static_cast<int>(argv.size()), argv.data(), true);
    if (!parsed.settings) return parsed.exit_code;
    return run_world(*parsed.settings, stderr);
}

Rgba rasterize(const fs::path& map, const fs::path& png) {
    const std::string command =
        "QT_QPA_PLATFORM=offscreen tmxrasterizer '" + map.string() + "' '" + png.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "tmxrasterizer (Debian package tiled) must be installed";
    return read_rgba(png);
}

std::map<std::string, std::vector<std::uint8_t>> folder_bytes(const fs::path& dir) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file()) files[entry.path().filename().string()] = read_file(entry.path());
    return files;
}
}  // namespace

TEST(WorldRun, TiledDrawsTheMapAsWeDoWithNoHoles) {
    const ScratchDir dir("brannoc-world-");
    for (const int width : {64, 128}) {
        const fs::path out = dir.path() / std::to_string(width);
        std::vector<std::string> args = {"--size",   "9x7",       "--seed",      "5",
                                         "--levels", "2",         "--iso-width", std::to_string(width),
                                         "--out",    out.string()};
        if (width == 64) args.insert(args.end(), {"--frames", "4"});
        ASSERT_EQ(run_world_render(args), 0);
        const Rgba ours = read_rgba(out / "world.png");
        const Rgba tiled = rasterize(out / "world.tmx", out / "tiled.png");
        ASSERT_EQ(ours.width, tiled.width);
        ASSERT_EQ(ours.height, tiled.height);
        std::size_t differing = 0;
        for (std::size_t k = 0; k < ours.pixels.size(); ++k) differing += ours.pixels[k] != tiled.pixels[k];
        EXPECT_EQ(differing, 0u) << "width " << width;
    }
}

TEST(WorldRun, SameBytesWithAnyJobs) {
    const ScratchDir dir("brannoc-world-");
    const std::vector<std::string> args = {"--size", "8x8", "--seed", "11", "--iso-width", "64"};
    for (const char* jobs : {"1", "2"}) {
        std::vector<std::string> a = args;
        a.insert(a.end(), {"--jobs", jobs, "--out", (dir.path() / jobs).string()});
        ASSERT_EQ(run_world_render(a), 0);
    }
    EXPECT_EQ(folder_bytes(dir.path() / "1"), folder_bytes(dir.path() / "2"));
}

TEST(WorldRun, RefusesWhatCannotMakeAWorld) {
    const ScratchDir dir("brannoc-world-");
    const std::string out = (dir.path() / "w").string();
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--size", "0x5"},
                                                {"--size", "12"},
                                                {"--levels", "9"},
                                                {"--kind", "house"},
                                                {"--palette", "lunar"},
                                                {"--thresholds", "water=2"},
                                                {"--size", "2x2", "--shard", "0/9"},
                                                {"--flow", "30"}}) {
        std::vector<std::string> args = bad;
        args.insert(args.end(), {"--out", out});
        EXPECT_EQ(run_world_render(args), 2) << bad[0];
    }
    EXPECT_FALSE(fs::exists(out + "/world.tmx"));
    EXPECT_EQ(run_render({"--kind", "house", "--size", "4x4", "--out", out}), 2);
}
