#include "export/user_textures.hpp"

#include "canvas/png_image.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

std::string load_user_textures(AppState& state, const std::string& folder) {
    struct Wanted {
        const char* file;
        TextureSheet* sheet;
        int width, height, cell;
    };
    const Wanted wanted[] = {{"building_sheet.png", &state.building_sheet, 776, 774, 128},
                             {"ground_sheet.png", &state.ground_sheet, 640, 512, 64},
                             {"boulder_sheet.png", &state.boulder_sheet, 256, 256, 64}};
    std::vector<RasterImage> loaded;
    for (const Wanted& w : wanted) {
        const std::string path = folder + "/" + w.file;
        std::ifstream in(path, std::ios::binary);
        if (!in) return path + ": cannot be read: " + std::strerror(errno);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        DecodedSheet decoded = decode_texture_png(bytes, w.width, w.height);
        if (!decoded.image) return path + " " + decoded.problem;
        loaded.push_back(std::move(*decoded.image));
    }
    for (std::size_t k = 0; k < loaded.size(); ++k) *wanted[k].sheet = {std::move(loaded[k]), wanted[k].cell};
    return {};
}
