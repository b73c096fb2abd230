#include "app/render/sheet_output.hpp"

#include "app/render/file_set.hpp"
#include "app/render/report_line.hpp"
#include "export/formats/lighting_map_files.hpp"
#include "export/formats/sheet_engine_files.hpp"
#include "export/formats/sheet_layout.hpp"
#include "export/formats/tile_encoding.hpp"
#include "export/tile/tile_frames.hpp"

#include <algorithm>
#include <filesystem>

namespace {
namespace fs = std::filesystem;

constexpr int fewest_gif_map_cells = 4;

std::string with_extension(const std::string& path, const char* extension) {
    return fs::path(path).replace_extension(extension).string();
}

}  // namespace

std::vector<std::string> sheet_set_paths(const RenderSettings& settings) {
    std::vector<std::string> paths = {settings.sheet, sheet_tileset_path(settings.sheet),
                                      with_extension(settings.sheet, ".json")};
    if (!settings.tmx.empty()) paths.push_back(settings.tmx);
    if (!settings.godot.empty()) paths.push_back(settings.godot);
    if (!settings.godot3.empty()) paths.push_back(settings.godot3);
    if (settings.gif) paths.push_back(with_extension(settings.sheet, ".gif"));
    for (const std::string& suffix : lighting_map_suffixes(settings))
        paths.push_back(lighting_map_file_name(settings.sheet, suffix));
    return paths;
}

int write_sheet_set(const RenderSettings& settings, const std::vector<RenderedTile>& tiles,
                    const std::vector<TileRecord>& records, const RasterImage& ground_sheet, std::FILE* report) {
    // Moving water: every frame a cell, a tile's frames along its row.
    const int frames = std::max(1, settings.loop_frames);
    const std::vector<RenderedTile> frame_tiles = frames > 1 ? frame_cells(tiles) : std::vector<RenderedTile>{};
    const std::vector<RenderedTile>& cells = frames > 1 ? frame_tiles : tiles;
    const int columns = frames > 1 ? frame_sheet_columns(settings.columns, settings.count, frames) : settings.columns;
    const SheetLayout layout = lay_out_sheet(cells, settings.iso_width, columns, settings.spacing, settings.margin);
    if (layout.width > largest_sheet_side || layout.height > largest_sheet_side ||
        static_cast<long long>(layout.width) * layout.height > largest_sheet_pixels) {
        report_line(report, "a sheet of " + std::to_string(layout.width) + " x " + std::to_string(layout.height) +
                                " pixels is too large (at most " + std::to_string(largest_sheet_side) + " a side, " +
                                std::to_string(largest_sheet_pixels) + " in all): draw fewer tiles");
        return 2;
    }
    const Sheet sheet = compose_sheet(cells, layout, settings.cell_outlines);
    const std::vector<std::uint8_t> image_bytes =
        encode_image(sheet.image, settings.png ? &sheet.alpha : nullptr, settings.png);  // engines have no colour key
    if (image_bytes.empty()) {
        report_line(report, "the sheet could not be encoded");
        return 1;
    }
    const std::string image_name = fs::path(settings.sheet).filename().string();
    std::vector<std::pair<std::string, std::string>> files = sheet_engine_files(settings, layout, tiles, ground_sheet);
    files.emplace_back(with_extension(settings.sheet, ".json"), sheet_manifest(settings, records, layout, image_name));
    if (settings.gif) {  // the sample map, moving, large enough to read as a map
        const SampleMap map = sample_map(settings, layout, static_cast<int>(tiles.size()), fewest_gif_map_cells);
        const std::vector<std::uint8_t> gif =
            map_gif(sample_map_frames(tiles, settings.iso_width, map.size, map.tiles), settings.frame_ms);
        if (gif.empty()) {
            report_line(report, "the sheet's GIF could not be encoded");
            return 1;
        }
        files.emplace_back(with_extension(settings.sheet, ".gif"), std::string(gif.begin(), gif.end()));
    }
    if (settings.wants_surfaces()) {
        // The map sheets, laid out like the colour and with its alpha.
        const std::vector<LightingMapFile> maps =
            encode_lighting_map_files(settings, sheet.image, settings.png ? &sheet.alpha : nullptr,
                                      compose_lighting_map_sheet(cells, layout, sheet.image));
        for (const LightingMapFile& map : maps) {
            if (map.bytes.empty()) {
                report_line(report, "the sheet's " + map.suffix + " map could not be encoded");
                return 1;
            }
            files.emplace_back(lighting_map_file_name(settings.sheet, map.suffix),
                               std::string(map.bytes.begin(), map.bytes.end()));
        }
    }
    files.insert(files.begin(), {settings.sheet, std::string(image_bytes.begin(), image_bytes.end())});
    return publish_file_set(files, "the sheet", report);
}
