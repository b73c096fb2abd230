#pragma once
#include "app/render/batch_run.hpp"
#include "app/render/command_line.hpp"
#include "app/render/world_run.hpp"

#include "test_files.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

// brannoc-render's command line as a build script would give it.
inline ParsedCommandLine parse_args(std::vector<std::string> args) {
    args.insert(args.begin(), "brannoc-render");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    return parse_render_command_line(static_cast<int>(argv.size()), argv.data());
}

// A whole quiet run; the exit code.
inline int run_render(std::vector<std::string> args, std::FILE* report = stderr) {
    args.push_back("--quiet");
    const ParsedCommandLine parsed = parse_args(std::move(args));
    if (!parsed.settings) return parsed.exit_code;
    return run_batch(*parsed.settings, report);
}

// A whole quiet `brannoc-render world` run; the exit code.
inline int run_world_render(std::vector<std::string> args) {
    args.insert(args.begin(), "world");
    args.push_back("--quiet");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    const ParsedCommandLine parsed = parse_render_command_line(static_cast<int>(argv.size()), argv.data(), true);
    if (!parsed.settings) return parsed.exit_code;
    return run_world(*parsed.settings, stderr);
}

// A PNG read back through libpng, as 8-bit RGBA whatever it holds.
struct Rgba {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    const std::uint8_t* at(int x, int y) const { return &pixels[(static_cast<std::size_t>(y) * width + x) * 4]; }
};
inline Rgba read_rgba(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    Rgba out;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return out;
    image.format = PNG_FORMAT_RGBA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.pixels.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr);
    return out;
}

inline nlohmann::json read_json(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    return nlohmann::json::parse(bytes.begin(), bytes.end());
}

// A map drawn by Tiled's own renderer (tmxrasterizer) into `png`, read back.
inline Rgba rasterize(const std::filesystem::path& map, const std::filesystem::path& png) {
    const std::string command =
        "QT_QPA_PLATFORM=offscreen tmxrasterizer '" + map.string() + "' '" + png.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "tmxrasterizer (Debian package tiled) must be installed";
    return read_rgba(png);
}
