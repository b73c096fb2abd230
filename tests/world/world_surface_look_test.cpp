// How worlds read on Tiled's render, at widths 64 and 128, levels 3 and 6
// and every palette: hills lit as one rise, cliffs half a diamond tall and
// in one piece, deep water fading into shallow, rock with no weave.
#include "../support/world_look.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>

namespace {
using namespace world_look;

// The luma blurred at a sixteenth of the tile width: a box 2 W / 16 + 1
// wide, run twice (about a Gaussian of W / 16).
int blur_of(int iso_width) { return 2 * std::max(2, iso_width / 16) + 1; }

// The mean gradient of the blurred luma over the pixels whose blur sees
// only pixels of the mask.
double gradient_within(const Rgba& image, const std::vector<std::uint8_t>& mask, int iso_width) {
    const int blur = blur_of(iso_width);
    return mean_gradient(blurred(luma_of(image), blur), eroded(mask, image.width, image.height, blur));
}

std::vector<std::uint8_t> opaque_of(const Rgba& image) {
    std::vector<std::uint8_t> opaque(image.pixels.size() / 4);
    for (std::size_t k = 0; k < opaque.size(); ++k) opaque[k] = image.pixels[k * 4 + 3] == 255;
    return opaque;
}

// A fill set of a ground laid out on Tiled's sample map as a world lays it
// (the same seed and variants): the texture's own changes.
Rgba fill_map(const fs::path& dir, const TransitionTerrain& ground, int iso_width, int seed) {
    std::string name = terrain_name(ground);
    name[name.find(':')] = '_';
    const std::string stem = (dir / ("fill_" + name)).string();
    EXPECT_EQ(run_render({"--kind", "transition", "--terrains", terrain_name(ground), "--variants", "4", "--seed",
                          std::to_string(seed), "--iso-width", std::to_string(iso_width), "--transparent", "--sheet",
                          stem + ".png", "--tmx", stem + ".tmx"}),
              0);
    return rasterize(stem + ".tmx", stem + "_map.png");
}

const TransitionTerrain& texture_of(const DrawnWorld& world, WorldTerrain t) {
    return world.palette.textures[static_cast<std::size_t>(t)];
}
bool rising(const WorldTileKey& k) {
    return k.kind == WorldTileKey::Kind::slope || k.kind == WorldTileKey::Kind::cliff;
}

// 1. Across grass slopes the light changes no more sharply than across
// flat grass's texture (Tiled's render of its fill set) does, as a ratio of
// mean gradients.
double slope_light_ratio(const DrawnWorld& world, const Rgba& grass) {
    const auto grass_slopes = [](const WorldTileKey& k) {
        return k.kind == WorldTileKey::Kind::slope && k.terrain == WorldTerrain::grass && k.ground == 15;
    };
    const double slopes = gradient_within(world.tiled, shown_only(world, grass_slopes, "slopes"), world.iso_width);
    return slopes / gradient_within(grass, opaque_of(grass), world.iso_width);
}

// 2. The cliffs' faces, read off Tiled's render of the normal map (a face
// stands upright: its normal lies in the picture's plane): how tall they
// stand (the median height of a face's columns), how much of them stands in
// walls at least half a tile long, and how many specks stand apart.
struct Faces {
    int height = 0;
    double in_walls = 0;  // the share of face pixels in pieces at least half a tile wide
    int specks = 0;       // pieces of fewer than W / 4 pixels
};
Faces faces_of(const DrawnWorld& world) {
    const Rgba normals = tiled_with_only(world, rising, "cliff_normals", true);
    const int w = normals.width, h = normals.height;
    std::vector<std::uint8_t> face(static_cast<std::size_t>(w) * h);
    for (std::size_t k = 0; k < face.size(); ++k)
        face[k] = normals.pixels[k * 4 + 3] == 255 && std::abs(normals.pixels[k * 4 + 2] - 128) <= 12;
    std::vector<int> runs;
    for (int x = 0; x < w; ++x)
        for (int y = 0, run = 0; y <= h; ++y) {
            if (y < h && face[static_cast<std::size_t>(y) * w + x]) ++run;
            else if (run > 0) runs.push_back(run), run = 0;
        }
    Faces f;
    if (!runs.empty()) {
        std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
        f.height = runs[runs.size() / 2];
    }
    // Pieces: 8-connected, their width across the screen.
    std::vector<std::uint8_t> seen(face.size());
    long walls = 0, all = 0;
    for (std::size_t start = 0; start < face.size(); ++start) {
        if (!face[start] || seen[start]) continue;
        int left = w, right = -1;
        long area = 0;
        std::vector<std::size_t> stack{start};
        seen[start] = 1;
        while (!stack.empty()) {
            const std::size_t at = stack.back();
            stack.pop_back();
            const int x = static_cast<int>(at % w), y = static_cast<int>(at / w);
            left = std::min(left, x), right = std::max(right, x), ++area;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    const std::size_t n = static_cast<std::size_t>(ny) * w + nx;
                    if (face[n] && !seen[n]) seen[n] = 1, stack.push_back(n);
                }
        }
        walls += right - left + 1 >= world.iso_width / 2 ? area : 0;
        all += area;
        f.specks += area < world.iso_width / 4;
    }
    f.in_walls = all > 0 ? static_cast<double>(walls) / all : 0.0;
    return f;
}

// 3. How wide the fade from deep to shallow water is along the screen's
// rows: Tiled's render of the shallow water alone (its fills, and its over
// tiles on the deep) has the shallow water's share in its alpha. Over the
// sea and lakes, away from their shores: the pixels between a tenth and
// nine tenths of it, over the times a row crosses the line where it is half.
double fade_width(const DrawnWorld& world) {
    const auto water = [](const WorldTileKey& k) {
        return is_water(k.terrain) && (k.kind == WorldTileKey::Kind::fill || k.kind == WorldTileKey::Kind::over);
    };
    const auto shallow = [&](const WorldTileKey& k) { return water(k) && k.terrain == WorldTerrain::water; };
    const Rgba all = tiled_with_only(world, water, "water"), shallows = tiled_with_only(world, shallow, "shallow");
    const int w = all.width, h = all.height;
    const std::vector<std::uint8_t> sea = eroded(opaque_of(all), w, h, world.iso_width / 8);
    const auto alpha = [&](int x, int y) { return shallows.pixels[(static_cast<std::size_t>(y) * w + x) * 4 + 3]; };
    long between = 0, across = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            if (!sea[static_cast<std::size_t>(y) * w + x]) continue;
            const int a = alpha(x, y);
            between += a > 25 && a < 230;
            across += (a < 128) != (alpha(x + 1, y) < 128);
        }
    return across > 0 ? static_cast<double>(between) / across : 0.0;
}

// 4. How far a terrain's grain leans to the tile lattice's diagonals (a
// weave), on Tiled's render of its fill set: the share of its gradients'
// energy within 10 degrees of the normals of the lattice's lines, 0.222
// for a grain that leans nowhere.
double diagonal_share(const Rgba& rock) {
    const Luma luma = blurred(luma_of(rock), 2);
    const std::vector<std::uint8_t> inside = eroded(opaque_of(rock), rock.width, rock.height, 3);
    const double normals[2] = {std::atan2(-2.0, 1.0), std::atan2(2.0, 1.0)};
    double total = 0, leaning = 0;
    for (int y = 1; y + 1 < luma.height; ++y)
        for (int x = 1; x + 1 < luma.width; ++x) {
            if (!inside[luma.at(x, y)]) continue;
            const double gx = (luma.value[luma.at(x + 1, y)] - luma.value[luma.at(x - 1, y)]) / 2;
            const double gy = (luma.value[luma.at(x, y + 1)] - luma.value[luma.at(x, y - 1)]) / 2;
            const double e = gx * gx + gy * gy, a = std::atan2(gy, gx);
            total += e;
            for (const double n : normals) {
                const double off = std::abs(std::remainder(a - n, std::numbers::pi));
                if (off < 10 * std::numbers::pi / 180) {
                    leaning += e;
                    break;
                }
            }
        }
    return total > 0 ? leaning / total : 0.0;
}

struct Measures {
    double slope_light = 0;
    Faces faces;
    double fade = 0;
    double rock_lean = 0, grass_lean = 0;
};
Measures measured(const DrawnWorld& w) {
    const Rgba grass = fill_map(w.dir, texture_of(w, WorldTerrain::grass), w.iso_width, w.seed);
    const Rgba rock = fill_map(w.dir, texture_of(w, WorldTerrain::rock), w.iso_width, w.seed);
    return {slope_light_ratio(w, grass), faces_of(w), fade_width(w), diagonal_share(rock), diagonal_share(grass)};
}

// Worlds at widths 64 and 128, levels 3 and 6, one a palette, each with
// hills, cliffs, seas and rock, measured in one test: drawing them is most
// of its time.
TEST(WorldLook, HillsCliffsWaterAndRockReadAsAPlace) {
    const char* worlds[][5] = {{"4", "64", "3", "temperate", "24x24"},
                               {"9", "128", "6", "arid", "20x20"},
                               {"8", "64", "6", "tropical", "24x24"},
                               {"8", "128", "3", "winter", "16x16"}};
    for (const auto& [seed, width, levels, palette, size] : worlds) {
        const ScratchDir dir("brannoc-look-");
        const DrawnWorld w = draw_world(dir.path(), {"--size", size, "--seed", seed, "--iso-width", width,
                                                     "--levels", levels, "--palette", palette, "--normals"});
        const std::string name = w.palette.name + " at width " + std::to_string(w.iso_width);
        const Rgba ours = read_rgba(w.dir / "world.png");
        EXPECT_TRUE(ours.width == w.tiled.width && ours.pixels == w.tiled.pixels) << name << ": Tiled's render";
        const Measures m = measured(w);
        // Hills lit as one rise.
        EXPECT_LE(m.slope_light, 1.5) << name;
        // Cliffs half a diamond tall, in walls, with no specks.
        EXPECT_GE(m.faces.height, w.iso_width / 4 - 1) << name;
        EXPECT_GE(m.faces.in_walls, 0.95) << name;
        EXPECT_EQ(m.faces.specks, 0) << name;
        // Deep water turning shallow over a quarter of a tile.
        EXPECT_GE(m.fade, w.iso_width / 4) << name;
        // Rock leaning to the lattice no more than grass does.
        EXPECT_LE(m.rock_lean, m.grass_lean + 0.06) << name;
    }
}

// A world's measures, for a look at one: BRANNOC_LOOK_ARGS="--size 32x32 --seed 3 ...".
TEST(WorldLook, Probe) {
    const char* args = std::getenv("BRANNOC_LOOK_ARGS");
    if (!args) GTEST_SKIP() << "BRANNOC_LOOK_ARGS: a world's command line to measure";
    std::vector<std::string> list;
    std::stringstream in(args);
    for (std::string a; in >> a;) list.push_back(a);
    list.push_back("--normals");
    const ScratchDir dir("brannoc-look-");
    const Measures m = measured(draw_world(dir.path(), list));
    std::printf("slopes %.3f; faces %d px, %.3f in walls, %d specks; fade %.1f px; diagonal rock %.3f grass %.3f\n",
                m.slope_light, m.faces.height, m.faces.in_walls, m.faces.specks, m.fade, m.rock_lean, m.grass_lean);
}
}  // namespace
