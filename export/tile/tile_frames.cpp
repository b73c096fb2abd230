#include "export/tile/tile_frames.hpp"

#include "canvas/gif_writer.hpp"

#include <algorithm>
#include <cmath>

int frame_count(const RenderedTile& tile) { return 1 + static_cast<int>(tile.later_frames.size()); }

const RasterImage& tile_frame(const RenderedTile& tile, int frame) {
    return frame == 0 ? tile.image : tile.later_frames[static_cast<std::size_t>(frame - 1)];
}

namespace {
// Water is painted without light, so where a later frame differs from the
// first its albedo is its colour; everything else keeps the first's. Outside
// the box the albedo is the frame's colour already.
void moved_albedo(const RasterImage& first, const RasterImage& frame, LightingMaps& maps) {
    for (int y = 0; y < maps.albedo.height(); ++y)
        for (int x = 0; x < maps.albedo.width(); ++x) {
            const int fx = maps.left + x, fy = maps.top + y;
            if (frame.pixel(fx, fy) != first.pixel(fx, fy)) maps.albedo.set_pixel(x, y, frame.pixel(fx, fy));
        }
}
}  // namespace

std::vector<RenderedTile> frame_cells(const std::vector<RenderedTile>& tiles) {
    std::vector<RenderedTile> cells;
    for (const RenderedTile& tile : tiles)
        for (int f = 0; f < frame_count(tile); ++f) {
            RenderedTile cell;
            cell.image = tile_frame(tile, f);
            cell.alpha = tile.alpha;
            cell.left = tile.left, cell.top = tile.top;
            cell.anchor_x = tile.anchor_x, cell.anchor_y = tile.anchor_y;
            cell.seed = tile.seed;
            cell.lighting_maps = tile.lighting_maps;  // only the water moves, and it is flat
            if (f > 0 && cell.lighting_maps.has_albedo) moved_albedo(tile.image, cell.image, cell.lighting_maps);
            cells.push_back(std::move(cell));
        }
    return cells;
}

int frame_sheet_columns(int tiles_across, int tile_count, int frames) {
    if (tiles_across <= 0)  // about square: tiles across x frames ~ tile rows
        tiles_across = std::max(1, static_cast<int>(std::lround(std::sqrt(static_cast<double>(tile_count) / frames))));
    return std::min(tiles_across, tile_count) * frames;
}

Sheet frame_strip(const RenderedTile& tile) {
    const int w = tile.image.width(), h = tile.image.height(), n = frame_count(tile);
    Sheet strip{RasterImage(w * n, h), std::vector<std::uint8_t>(static_cast<std::size_t>(w) * n * h, 255)};
    for (int f = 0; f < n; ++f) {
        const RasterImage& frame = tile_frame(tile, f);
        for (int y = 0; y < h; ++y) {
            std::copy_n(frame.row(y), 3 * w, strip.image.row(y) + 3 * w * f);
            if (!tile.alpha.empty())
                std::copy_n(&tile.alpha[static_cast<std::size_t>(y) * w], w,
                            &strip.alpha[(static_cast<std::size_t>(y) * n + f) * w]);
        }
    }
    return strip;
}

MapFrames sample_map_frames(const std::vector<RenderedTile>& tiles, int iso_width, int map_size,
                            const std::vector<int>& cells) {
    MapFrames map;
    if (tiles.empty() || cells.size() < static_cast<std::size_t>(map_size) * map_size) return map;
    // Cell (row, column)'s diamond centre, as Tiled's isometric grid puts it,
    // with room around for whatever the tiles paint beyond their diamonds.
    int reach_left = 0, reach_right = 0, reach_up = 0, reach_down = 0;
    for (const RenderedTile& tile : tiles) {
        reach_left = std::max(reach_left, tile.anchor_x);
        reach_right = std::max(reach_right, tile.image.width() - tile.anchor_x);
        reach_up = std::max(reach_up, tile.anchor_y);
        reach_down = std::max(reach_down, tile.image.height() - tile.anchor_y);
    }
    const int half = iso_width / 2;
    const int origin_x = reach_left + (map_size - 1) * half, origin_y = reach_up;
    const int width = origin_x + (map_size - 1) * half + reach_right;
    const int height = origin_y + (map_size - 1) * half + reach_down;
    const int frames = frame_count(tiles.front());
    map.alpha.assign(static_cast<std::size_t>(width) * height, 0);
    for (int f = 0; f < frames; ++f) {
        RasterImage image(width, height);
        for (int row = 0; row < map_size; ++row)  // back to front, as Tiled draws right-down
            for (int column = 0; column < map_size; ++column) {
                const RenderedTile& tile =
                    tiles[static_cast<std::size_t>(cells[static_cast<std::size_t>(row * map_size + column)]) %
                          tiles.size()];
                const RasterImage& frame = tile_frame(tile, std::min(f, frame_count(tile) - 1));
                const int x0 = origin_x + (column - row) * half - tile.anchor_x;
                const int y0 = origin_y + (column + row) * half / 2 - tile.anchor_y;
                for (int y = 0; y < frame.height(); ++y)
                    for (int x = 0; x < frame.width(); ++x) {
                        const std::size_t at = static_cast<std::size_t>(y) * frame.width() + x;
                        if (!tile.alpha.empty() && tile.alpha[at] == 0) continue;
                        image.set_pixel(x0 + x, y0 + y, frame.pixel(x, y));
                        map.alpha[static_cast<std::size_t>(y0 + y) * width + x0 + x] = 255;
                    }
            }
        map.frames.push_back(std::move(image));
    }
    return map;
}

std::vector<std::uint8_t> tile_gif(const RenderedTile& tile, int frame_ms, bool transparent) {
    std::vector<const RasterImage*> frames;
    for (int f = 0; f < frame_count(tile); ++f) frames.push_back(&tile_frame(tile, f));
    return encode_gif(frames, transparent && !tile.alpha.empty() ? &tile.alpha : nullptr, frame_ms);
}

std::vector<std::uint8_t> map_gif(const MapFrames& map, int frame_ms) {
    std::vector<const RasterImage*> frames;
    for (const RasterImage& frame : map.frames) frames.push_back(&frame);
    return encode_gif(frames, &map.alpha, frame_ms);
}
