#include "export/formats/lighting_map_files.hpp"

#include "canvas/png_writer.hpp"

#include <algorithm>
#include <filesystem>

std::vector<std::string> lighting_map_suffixes(const Lighting& settings) {
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

std::vector<LightingMapFile> encode_lighting_map_files(const Lighting& settings, const RasterImage& colour,
                                                       const std::vector<std::uint8_t>* alpha,
                                                       const LightingMaps& maps) {
    std::vector<LightingMapFile> files;
    auto bytes_of = [](std::optional<std::vector<std::uint8_t>> encoded) {
        return encoded ? std::move(*encoded) : std::vector<std::uint8_t>{};
    };
    // The maps keep only their box; the rest of each row is made as it is written.
    const int width = colour.width(), height = colour.height();
    if (settings.normals)
        files.push_back(
            {"_n.png", bytes_of(encode_png_rows(
                           width, height, [&](int y, std::uint8_t* out) { maps.normals_row(y, width, out); }, alpha))});
    if (settings.heights)
        files.push_back({"_h.png", bytes_of(encode_png_grey16_rows(
                                       width, height,
                                       [&](int y, std::uint16_t* out) { maps.heights_row(y, width, out); }, alpha))});
    if (settings.lit) {
        // With the albedo the preview shows what an engine's light alone makes of the tile.
        const Light light{settings.light_azimuth, settings.light_elevation};
        const RasterImage lit =
            lit_image(settings.albedo ? whole_albedo(maps, colour) : colour, whole_normals(maps, width, height), light);
        files.push_back({"_lit.png", bytes_of(encode_png(lit, alpha))});
    }
    if (settings.albedo)
        files.push_back(
            {"_a.png", bytes_of(encode_png_rows(
                           width, height, [&](int y, std::uint8_t* out) { maps.albedo_row(colour, y, out); }, alpha))});
    return files;
}

LightingMaps compose_lighting_map_sheet(const std::vector<RenderedTile>& tiles, const SheetLayout& layout,
                                        const RasterImage& colour) {
    LightingMaps sheet;
    // The albedo is the colour sheet wherever no tile has one: outlines and
    // the space between cells stay as they are.
    sheet.has_albedo =
        std::any_of(tiles.begin(), tiles.end(), [](const RenderedTile& tile) { return tile.lighting_maps.has_albedo; });
    if (sheet.has_albedo) sheet.albedo = colour;
    sheet.normals = RasterImage(layout.width, layout.height, flat_normal);
    sheet.heights.assign(static_cast<std::size_t>(sheet.normals.width()) * sheet.normals.height(), 0);
    // Outside its box a tile's maps are the sheet's flat ground, and its albedo its colour, already there.
    for (std::size_t k = 0; k < tiles.size(); ++k) {
        const RenderedTile& tile = tiles[k];
        const LightingMaps& maps = tile.lighting_maps;
        const int x0 = layout.cell_x(static_cast<int>(k)) + layout.anchor_x - tile.anchor_x + maps.left;
        const int y0 = layout.cell_y(static_cast<int>(k)) + layout.anchor_y - tile.anchor_y + maps.top;
        const int width = maps.normals.width();
        const bool albedo = sheet.has_albedo && maps.has_albedo;
        for (int y = 0; y < maps.normals.height(); ++y)
            for (int x = 0; x < width; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * width + x;
                // A sprite cut from a larger drawing (a mountain's slice) may
                // keep maps beyond its own image: nothing is painted there.
                const int tx = maps.left + x, ty = maps.top + y;
                if (!tile.alpha.empty() &&
                    (tx < 0 || ty < 0 || tx >= tile.image.width() || ty >= tile.image.height() ||
                     tile.alpha[static_cast<std::size_t>(ty) * tile.image.width() + tx] == 0))
                    continue;
                if (!sheet.normals.contains(x0 + x, y0 + y)) continue;
                sheet.normals.set_pixel(x0 + x, y0 + y, maps.normals.pixel(x, y));
                sheet.heights[static_cast<std::size_t>(y0 + y) * layout.width + x0 + x] = maps.heights[at];
                if (albedo) sheet.albedo.set_pixel(x0 + x, y0 + y, maps.albedo.pixel(x, y));
            }
    }
    return sheet;
}
