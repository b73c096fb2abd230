#pragma once
// How a world reads, measured on Tiled's own render of it (tmxrasterizer):
// the light's changes on luma blurred at a sixteenth of the tile width, and
// which pixels show which tiles, found by rendering the map again with only
// those tiles kept.
#include "app/render/world_run.hpp"
#include "generators/world/world_layout.hpp"
#include "generators/world/world_palettes.hpp"

#include "godot_text.hpp"
#include "render_run.hpp"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace world_look {
namespace fs = std::filesystem;

// Luma (Rec. 601) of the opaque pixels of an image.
struct Luma {
    int width = 0, height = 0;
    std::vector<float> value;
    std::vector<std::uint8_t> opaque;
    std::size_t at(int x, int y) const { return static_cast<std::size_t>(y) * width + x; }
};

inline Luma luma_of(const Rgba& image) {
    Luma l{image.width, image.height, std::vector<float>(image.pixels.size() / 4),
           std::vector<std::uint8_t>(image.pixels.size() / 4)};
    for (std::size_t k = 0; k < l.value.size(); ++k) {
        const std::uint8_t* p = &image.pixels[k * 4];
        l.value[k] = 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
        l.opaque[k] = p[3] == 255;
    }
    return l;
}

// A box of `size` pixels run twice along rows and columns (a tent of twice
// the size), over the opaque pixels alone.
inline Luma blurred(const Luma& in, int size) {
    Luma out = in;
    std::vector<float> weight(in.value.size());
    for (std::size_t k = 0; k < weight.size(); ++k) weight[k] = in.opaque[k], out.value[k] *= in.opaque[k];
    const int before = size / 2, after = size - 1 - before;
    const auto pass = [&](std::vector<float>& v, bool rows) {
        const int lines = rows ? in.height : in.width, length = rows ? in.width : in.height;
        std::vector<float> line(static_cast<std::size_t>(length)), sum(static_cast<std::size_t>(length) + 1);
        for (int a = 0; a < lines; ++a) {
            const auto index = [&](int b) { return rows ? in.at(b, a) : in.at(a, b); };
            for (int b = 0; b < length; ++b) sum[b + 1] = sum[b] + v[index(b)];
            for (int b = 0; b < length; ++b)
                v[index(b)] = sum[std::min(length, b + after + 1)] - sum[std::max(0, b - before)];
        }
    };
    for (int twice = 0; twice < 2; ++twice)
        for (const bool rows : {true, false}) pass(out.value, rows), pass(weight, rows);
    for (std::size_t k = 0; k < weight.size(); ++k) out.value[k] = weight[k] > 0 ? out.value[k] / weight[k] : 0;
    return out;
}

// The mask shrunk by `by` pixels: a pixel stays when every pixel within `by`
// (a square) is in the mask.
inline std::vector<std::uint8_t> eroded(const std::vector<std::uint8_t>& mask, int width, int height, int by) {
    std::vector<std::uint8_t> rows(mask.size()), out(mask.size());
    const auto pass = [&](const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& to, bool along_rows) {
        const int lines = along_rows ? height : width, length = along_rows ? width : height;
        for (int a = 0; a < lines; ++a) {
            int run = 0;  // mask pixels ending at b
            std::vector<int> ends(static_cast<std::size_t>(length));
            const auto index = [&](int b) {
                return along_rows ? static_cast<std::size_t>(a) * width + b : static_cast<std::size_t>(b) * width + a;
            };
            for (int b = 0; b < length; ++b) ends[b] = run = in[index(b)] ? run + 1 : 0;
            for (int b = 0; b < length; ++b) {
                const int last = b + by;
                to[index(b)] = b - by >= 0 && last < length && ends[last] >= 2 * by + 1;
            }
        }
    };
    pass(mask, rows, true);
    pass(rows, out, false);
    return out;
}

// The mean length of the blurred luma's gradient (central differences) over a mask.
inline double mean_gradient(const Luma& b, const std::vector<std::uint8_t>& mask) {
    double total = 0;
    long count = 0;
    for (int y = 1; y + 1 < b.height; ++y)
        for (int x = 1; x + 1 < b.width; ++x) {
            if (!mask[b.at(x, y)]) continue;
            const double gx = (b.value[b.at(x + 1, y)] - b.value[b.at(x - 1, y)]) / 2;
            const double gy = (b.value[b.at(x, y + 1)] - b.value[b.at(x, y - 1)]) / 2;
            total += std::hypot(gx, gy);
            ++count;
        }
    return count > 0 ? total / count : 0.0;
}

inline long count_of(const std::vector<std::uint8_t>& mask) { return std::count(mask.begin(), mask.end(), 1); }

// A world drawn into its folder and rasterized by Tiled. Every tile is
// still (no --frames), so the map's gid k + 1 is layout.tiles[k].
struct DrawnWorld {
    fs::path dir;
    int iso_width = 64;
    int seed = 1;
    WorldPalette palette;
    WorldLayout layout;
    int cells = 0;    // the map's, across times down
    std::string tmx;  // world.tmx's text
    Rgba tiled;
};

inline DrawnWorld draw_world(const fs::path& dir, std::vector<std::string> args) {
    // As brannoc-render's main passes a world's command line: "world" first.
    args.insert(args.begin(), "world");
    args.insert(args.end(), {"--out", dir.string(), "--quiet"});
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    const ParsedCommandLine parsed = parse_render_command_line(static_cast<int>(argv.size()), argv.data(), true);
    DrawnWorld world;
    EXPECT_TRUE(parsed.settings) << parsed.text;
    if (!parsed.settings) return world;
    const RenderSettings& s = *parsed.settings;
    EXPECT_EQ(run_world(s, stderr), 0);
    world.dir = dir;
    world.iso_width = s.iso_width;
    world.seed = static_cast<int>(s.seed);
    world.palette = *world_palette_named(s.world_shape.palette);
    const WorldRequest request{s.world_shape, s.variants, s.seed};
    world.layout = lay_out_world(build_world_map(request, 0, 0, request.width, request.height));
    world.cells = request.width * request.height;
    const std::vector<std::uint8_t> bytes = read_file(dir / "world.tmx");
    world.tmx.assign(bytes.begin(), bytes.end());
    world.tiled = rasterize(dir / "world.tmx", dir / "tiled.png");
    return world;
}

inline std::string to_base64(const std::vector<std::uint8_t>& bytes) {
    const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t k = 0; k < bytes.size(); k += 3) {
        const std::uint32_t n =
            bytes[k] << 16 | (k + 1 < bytes.size() ? bytes[k + 1] << 8 : 0) | (k + 2 < bytes.size() ? bytes[k + 2] : 0);
        for (int d = 0; d < 4; ++d) out += k * 8 + d * 6 < bytes.size() * 8 ? digits[n >> (18 - 6 * d) & 63] : '=';
    }
    return out;
}

// Tiled's render of the map with only the tiles `keep` takes, and no
// objects; with `normals`, of their normal map (the world drawn with
// --normals): Tiled draws the normal sheet in place of the colour.
inline Rgba tiled_with_only(const DrawnWorld& world, const std::function<bool(const WorldTileKey&)>& keep,
                            const std::string& name, bool normals = false) {
    const std::string open = "<data encoding=\"base64\" compression=\"zlib\">";
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = world.tmx.find(open, from)) != std::string::npos;) {
        const std::size_t first = world.tmx.find_first_not_of(" \n", at + open.size());
        const std::size_t last = world.tmx.find_first_of(" \n<", first);
        const std::vector<std::uint8_t> packed = from_base64(world.tmx.substr(first, last - first));
        std::vector<std::uint8_t> raw(static_cast<std::size_t>(world.cells) * 4);
        uLongf size = static_cast<uLongf>(raw.size());
        EXPECT_EQ(uncompress(raw.data(), &size, packed.data(), packed.size()), Z_OK);
        raw.resize(size);
        for (std::size_t k = 0; k + 3 < raw.size(); k += 4) {
            const std::uint32_t gid = raw[k] | raw[k + 1] << 8 | raw[k + 2] << 16 | std::uint32_t{raw[k + 3]} << 24;
            const bool kept = gid > 0 && gid <= world.layout.tiles.size() && keep(world.layout.tiles[gid - 1]);
            if (!kept) raw[k] = raw[k + 1] = raw[k + 2] = raw[k + 3] = 0;
        }
        std::vector<std::uint8_t> again(compressBound(static_cast<uLong>(raw.size())));
        uLongf again_size = static_cast<uLongf>(again.size());
        EXPECT_EQ(compress(again.data(), &again_size, raw.data(), static_cast<uLong>(raw.size())), Z_OK);
        again.resize(again_size);
        out.append(world.tmx, from, first - from);
        out += to_base64(again);
        from = last;
    }
    out.append(world.tmx, from, std::string::npos);
    for (std::size_t at; (at = out.find("<objectgroup")) != std::string::npos;)
        out.erase(at, out.find("</objectgroup>", at) + std::string("</objectgroup>").size() - at);
    if (normals) {
        const std::vector<std::uint8_t> tsx_bytes = read_file(world.dir / "world_tiles.tsx");
        std::string tsx(tsx_bytes.begin(), tsx_bytes.end());
        const std::string image = "source=\"world_tiles.png\"";
        tsx.replace(tsx.find(image), image.size(), "source=\"world_tiles_n.png\"");
        std::ofstream(world.dir / (name + ".tsx")) << tsx;
        const std::string set = "source=\"world_tiles.tsx\"";
        out.replace(out.find(set), set.size(), "source=\"" + name + ".tsx\"");
    }
    const fs::path tmx = world.dir / (name + ".tmx");
    std::ofstream(tmx) << out;
    return rasterize(tmx, world.dir / (name + ".png"));
}

// The pixels that show the kept tiles alone: drawn with only them, they are
// the whole render's pixel, opaque.
inline std::vector<std::uint8_t> shown_only(const DrawnWorld& world,
                                            const std::function<bool(const WorldTileKey&)>& keep,
                                            const std::string& name) {
    const Rgba only = tiled_with_only(world, keep, name);
    std::vector<std::uint8_t> mask(only.pixels.size() / 4, 0);
    if (only.width != world.tiled.width || only.height != world.tiled.height) {
        ADD_FAILURE() << name << ": Tiled drew the map " << only.width << " x " << only.height;
        return mask;
    }
    for (std::size_t k = 0; k < mask.size(); ++k)
        mask[k] = only.pixels[k * 4 + 3] == 255 &&
                  std::equal(&only.pixels[k * 4], &only.pixels[k * 4 + 4], &world.tiled.pixels[k * 4]);
    return mask;
}

}  // namespace world_look
