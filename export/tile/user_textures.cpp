#include "export/tile/user_textures.hpp"

#include "canvas/file_input.hpp"
#include "canvas/png_image.hpp"

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
        // Room for the sheet unpacked at 16 bits a channel with alpha, and
        // for chunks beside its pixels: a real sheet is far smaller.
        const std::size_t most = static_cast<std::size_t>(w.width) * w.height * 8 + (1 << 20);
        const ReadResult read = read_regular_file(path, most);
        if (!read.ok) return path + ": cannot be read: " + read.error;
        DecodedSheet decoded = decode_texture_png(read.bytes, w.width, w.height);
        if (!decoded.image) return path + " " + decoded.problem;
        loaded.push_back(std::move(*decoded.image));
    }
    for (std::size_t k = 0; k < loaded.size(); ++k) *wanted[k].sheet = {std::move(loaded[k]), wanted[k].cell};
    return {};
}
