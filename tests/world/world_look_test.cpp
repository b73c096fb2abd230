// Worlds read as places on Tiled's render: trees cover the forest's floor
// and mountains stand on the high ground, at both widths, on flat and
// hilly worlds, in every palette.
#include "app/render/world_run.hpp"

#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>

namespace {
namespace fs = std::filesystem;

// Small worlds, wet enough to grow forests.
struct LookWorld {
    int width, levels;
    const char* palette;
    int size, seed;
};

// Tiled's render of the map with only the layers named, or (with none) all
// but its objects.
Rgba rasterize(const fs::path& map, const std::vector<std::string>& layers, const std::string& png) {
    std::string command = "QT_QPA_PLATFORM=offscreen tmxrasterizer";
    for (const std::string& layer : layers) command += " --show-layer '" + layer + "'";
    if (layers.empty()) command += " --hide-layer objects";
    const fs::path out = map.parent_path() / png;
    command += " '" + map.string() + "' '" + out.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "tmxrasterizer (Debian package tiled) must be installed";
    return read_rgba(out);
}

// The map's text with only the objects of `kind` in its object layer.
void keep_objects(const fs::path& from, const fs::path& to, const std::string& kind) {
    const std::vector<std::uint8_t> bytes = read_file(from);
    const std::string text(bytes.begin(), bytes.end());
    static const std::regex object("\\s*<object [^>]*/>");
    std::string kept;
    std::size_t last = 0;
    for (std::sregex_iterator it(text.begin(), text.end(), object), end; it != end; ++it) {
        kept += text.substr(last, static_cast<std::size_t>(it->position()) - last);
        if (it->str().find("name=\"" + kind + "\"") != std::string::npos) kept += it->str();
        last = static_cast<std::size_t>(it->position() + it->length());
    }
    kept += text.substr(last);
    std::ofstream(to) << kept;
}

std::vector<std::string> layers_of(const fs::path& map, const std::string& terrain) {
    const std::vector<std::uint8_t> bytes = read_file(map);
    const std::string text(bytes.begin(), bytes.end());
    static const std::regex name("<layer [^>]*name=\"(level[0-9]+_[a-z_]+)\"");
    std::vector<std::string> layers;
    for (std::sregex_iterator it(text.begin(), text.end(), name), end; it != end; ++it)
        if ((*it)[1].str().ends_with("_" + terrain)) layers.push_back((*it)[1].str());
    return layers;
}

// Of the ground that shows `terrains` on the map (drawn whole there, not
// hidden by a layer above), the share the objects of `kind` cover
// opaquely; and how much such ground there is. `ground` is Tiled's render
// of the map without its objects.
std::pair<double, std::size_t> covered(const fs::path& map, const Rgba& ground,
                                       const std::vector<std::string>& terrains, const std::string& kind) {
    std::vector<std::string> layers;
    for (const std::string& t : terrains)
        for (const std::string& l : layers_of(map, t)) layers.push_back(l);
    if (layers.empty()) return {0.0, 0};
    const Rgba only = rasterize(map, layers, kind + "_ground.png");
    const fs::path objects = map.parent_path() / ("only_" + kind + ".tmx");
    keep_objects(map, objects, kind);
    const Rgba standing = rasterize(objects, {"objects"}, kind + ".png");
    std::size_t ground_pixels = 0, under = 0;
    for (std::size_t k = 0; k < only.pixels.size(); k += 4) {
        if (only.pixels[k + 3] != 255 || std::memcmp(&only.pixels[k], &ground.pixels[k], 4) != 0) continue;
        ++ground_pixels;
        under += standing.pixels[k + 3] == 255;
    }
    return {ground_pixels ? static_cast<double>(under) / ground_pixels : 0.0, ground_pixels};
}

}  // namespace

// Small worlds, wet enough to grow forests and high enough to reach rock:
// trees cover at least half the forest's floor, and mountains stand over
// much of the rock and snow.
TEST(WorldLook, TreesCoverTheForestFloorAndMountainsTheHighGround) {
    const ScratchDir dir("brannoc-look-");
    for (const LookWorld& w : {LookWorld{64, 3, "temperate", 20, 26}, LookWorld{128, 6, "winter", 24, 9},
                               LookWorld{64, 6, "arid", 24, 26}, LookWorld{128, 3, "tropical", 20, 6}}) {
        const fs::path out = dir.path() / w.palette;
        const std::string size = std::to_string(w.size) + "x" + std::to_string(w.size);
        ASSERT_EQ(run_world_render({"--size", size, "--seed", std::to_string(w.seed), "--iso-width",
                                    std::to_string(w.width), "--levels", std::to_string(w.levels), "--palette",
                                    w.palette, "--thresholds", "forest=0.45", "--out", out.string()}),
                  0);
        const fs::path map = out / "world.tmx";
        const Rgba ground = rasterize(map, {}, "ground.png");
        const std::string what = std::string(w.palette) + " at width " + std::to_string(w.width) + ", " +
                                 std::to_string(w.levels) + " levels";
        const auto [trees, forest] = covered(map, ground, {"forest"}, "tree");
        const auto [mountains, high] = covered(map, ground, {"rock", "snow"}, "mountain");
        std::printf("%s: trees %.3f of %zu, mountains %.3f of %zu\n", what.c_str(), trees, forest, mountains, high);
        EXPECT_GT(forest, 10000u) << what << ": a forest to measure";
        EXPECT_GE(trees, 0.5) << what;
        EXPECT_GT(high, 10000u) << what << ": high ground to measure";
        // A mountain's sprite is the generator's, 200 pixels wide at most:
        // its footprint's three cells across at width 64, about one and a
        // half at 128, where the ranges are sparser.
        EXPECT_GE(mountains, w.width == 64 ? 0.6 : 0.18) << what;  // rivers run through some of it
    }
}
