#include "export/formats/lighting_map_files.hpp"

#include "canvas/png_writer.hpp"

#include <algorithm>
#include <filesystem>

std::vector<std::string> lighting_map_suffixes(const RenderSettings& settings) {
    std::vector<std::string> suffixes;
    if (settings.normals) suffixes.push_back("_n.png");
    if (settings.heights) suffixes.push_back("_h.png");
    if (settings.lit) suffixes.push_back("_lit.png");
    if (settings.albedo) suffixes.push_back("_a.png");
    return suffixes;
}

std::string lighting_map_file_name(const std::string& image_file, const std::string& suffix) {
    std::filesystem::path path(image_file);
    const std::string stem = path.stem().string();
    return path.replace_filename(stem + suffix).string();
}

std::vector<LightingMapFile> encode_lighting_map_files(const RenderSettings& settings, const RasterImage& colour,
                                                       const std::vector<std::uint8_t>* alpha,
                                                       const LightingMaps& maps) {
    std::vector<LightingMapFile> files;
    auto bytes_of = [](std::optional<std::vector<std::uint8_t>> encoded) {
        return encoded ? std::move(*encoded) : std::vector<std::uint8_t>{};
    };
    if (settings.normals) files.push_back({"_n.png", bytes_of(encode_png(maps.normals, alpha))});
    if (settings.heights)
        files.push_back(
            {"_h.png", bytes_of(encode_png_grey16(maps.normals.width(), maps.normals.height(), maps.heights, alpha))});
    // With the albedo the preview shows what an engine's light alone makes of the tile.
    const RasterImage& base = settings.albedo ? maps.albedo : colour;
    if (settings.lit) {
        const Light light{settings.light_azimuth, settings.light_elevation};
        files.push_back({"_lit.png", bytes_of(encode_png(lit_image(base, maps.normals, light), alpha))});
    }
    if (settings.albedo) files.push_back({"_a.png", bytes_of(encode_png(maps.albedo, alpha))});
    return files;
}

LightingMaps compose_lighting_map_sheet(const std::vector<RenderedTile>& tiles, const SheetLayout& layout,
                                        const RasterImage& colour) {
    LightingMaps sheet;
    // The albedo is the colour sheet wherever no tile has one: outlines and
    // the space between cells stay as they are.
    const bool albedo = std::any_of(tiles.begin(), tiles.end(),
                                    [](const RenderedTile& tile) { return !tile.lighting_maps.albedo.empty(); });
    if (albedo) sheet.albedo = colour;
    sheet.normals = RasterImage(layout.width, layout.height);
    sheet.heights.assign(static_cast<std::size_t>(sheet.normals.width()) * sheet.normals.height(), 0);
    const Colour flat = rgb(128, 128, 255);
    for (int y = 0; y < sheet.normals.height(); ++y)
        for (int x = 0; x < sheet.normals.width(); ++x) sheet.normals.set_pixel(x, y, flat);
    for (std::size_t k = 0; k < tiles.size(); ++k) {
        const RenderedTile& tile = tiles[k];
        const int x0 = layout.cell_x(static_cast<int>(k)) + layout.anchor_x - tile.anchor_x;
        const int y0 = layout.cell_y(static_cast<int>(k)) + layout.anchor_y - tile.anchor_y;
        const int width = tile.lighting_maps.normals.width();
        for (int y = 0; y < tile.lighting_maps.normals.height(); ++y)
            for (int x = 0; x < width; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * width + x;
                if (!tile.alpha.empty() && tile.alpha[at] == 0) continue;
                if (!sheet.normals.contains(x0 + x, y0 + y)) continue;
                sheet.normals.set_pixel(x0 + x, y0 + y, tile.lighting_maps.normals.pixel(x, y));
                sheet.heights[static_cast<std::size_t>(y0 + y) * layout.width + x0 + x] =
                    tile.lighting_maps.heights[at];
                if (albedo && !tile.lighting_maps.albedo.empty())
                    sheet.albedo.set_pixel(x0 + x, y0 + y, tile.lighting_maps.albedo.pixel(x, y));
            }
    }
    return sheet;
}
