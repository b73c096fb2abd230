// brannoc-about: renders the About picture with the real house generator
// from the texture sheets in ASSETS_DIR and writes ASSETS_DIR/about_image.png.
// Run it after brannoc-texgen whenever the sheets change.
#include "about_render.hpp"
#include "canvas/png_image.hpp"
#include "png_io.hpp"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {
std::optional<RasterImage> load_sheet(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return image_from_png(bytes);
}

texgen::PixelImage to_pixel_image(const RasterImage& image) {
    texgen::PixelImage out(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const Colour c = image.pixel(x, y);
            out.set(x, y,
                    {static_cast<std::uint8_t>(red(c)), static_cast<std::uint8_t>(green(c)),
                     static_cast<std::uint8_t>(blue(c))});
        }
    return out;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr,
                     "usage: brannoc-about [ASSETS_DIR]\n"
                     "Renders ASSETS_DIR/about_image.png (default: assets) from the sheets beside it.\n");
        return 2;
    }
    const std::string dir = argc == 2 ? argv[1] : "assets";
    std::optional<RasterImage> sheets[3];
    const char* names[3] = {"building_sheet.png", "ground_sheet.png", "boulder_sheet.png"};
    for (int k = 0; k < 3; ++k) {
        sheets[k] = load_sheet(dir + "/" + names[k]);
        if (!sheets[k]) {
            std::fprintf(stderr, "brannoc-about: cannot read %s/%s\n", dir.c_str(), names[k]);
            return 1;
        }
    }
    const RasterImage about = render_about_image(*sheets[0], *sheets[1], *sheets[2]);
    const std::string out = dir + "/about_image.png";
    if (!texgen::write_png(out, to_pixel_image(about))) {
        std::fprintf(stderr, "brannoc-about: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
