#include "export/tile/user_textures.hpp"

#include "canvas/file_input.hpp"
#include "canvas/png_image.hpp"

#include <vector>

namespace {
const char* const sheet_files[] = {"building_sheet.png", "ground_sheet.png", "boulder_sheet.png"};
}  // namespace

std::vector<std::string> user_texture_files(const std::string& folder) {
    std::vector<std::string> files;
    for (const char* name : sheet_files) files.push_back(folder + "/" + name);
    return files;
}

Problem load_user_textures(AppState& state, const std::string& folder) {
    struct Wanted {
        const char* file;
        TextureSheet* sheet;
        int width, height, cell;
    };
    const Wanted wanted[] = {{sheet_files[0], &state.building_sheet, 776, 774, 128},
                             {sheet_files[1], &state.ground_sheet, 640, 512, 64},
                             {sheet_files[2], &state.boulder_sheet, 256, 256, 64}};
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
    return std::nullopt;
}
