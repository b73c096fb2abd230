#include "export/map/map_composite.hpp"

#include "export/map/span_blend.hpp"
#include "export/map/tiled_placement.hpp"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace {
constexpr int band_rows = 16;  // a band of a 16384-wide image stays in cache
// Bands handed on together: about this many bytes of image, so each
// hand-over is worth its threads, and at least one band.
constexpr std::size_t handed_bytes = std::size_t{8} << 20;

// A tileset's sheet as Qt holds it once loaded, and each row of each tile.
struct LoadedTileset {
    const MapTileset* tileset = nullptr;
    std::vector<std::uint32_t> pixels;  // premultiplied, the sheet's size
    std::vector<OpaqueRun> runs;        // in tile coordinates
    std::vector<SourceRow> rows;        // tile by tile, row by row; runs from the sheet's left
};

struct Draw {
    int x = 0, y = 0;  // the image's top-left in the frame
    const LoadedTileset* set = nullptr;
    int tile = 0;
};

int tile_x(const MapTileset& t, int tile) { return t.margin + tile % t.columns * (t.tile_width + t.spacing); }
int tile_y(const MapTileset& t, int tile) { return t.margin + tile / t.columns * (t.tile_height + t.spacing); }

LoadedTileset load(const MapTileset& t) {
    LoadedTileset loaded{&t, {}, {}, {}};
    const RasterImage& image = *t.image;
    loaded.pixels.resize(static_cast<std::size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* rgb = image.row(y);
        const std::uint8_t* a = t.alpha->data() + static_cast<std::size_t>(y) * image.width();
        std::uint32_t* out = loaded.pixels.data() + static_cast<std::size_t>(y) * image.width();
        for (int x = 0; x < image.width(); ++x)
            out[x] = premultiplied_pixel(rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2], a[x]);
    }
    std::vector<std::pair<std::size_t, std::size_t>> run_spans;  // first run and count of each row
    for (int tile = 0; tile < t.tile_count; ++tile)
        for (int row = 0; row < t.tile_height; ++row) {
            const int sheet_x = tile_x(t, tile), sheet_y = tile_y(t, tile) + row;
            const std::uint32_t* p = loaded.pixels.data() + static_cast<std::size_t>(sheet_y) * image.width() + sheet_x;
            SourceRow source{p, image.row(sheet_y) + 3 * sheet_x, nullptr, 0, false};
            const std::size_t first = loaded.runs.size();
            for (int x = 0; x < t.tile_width; ++x) {
                const std::uint32_t a = p[x] >> 24;
                source.has_partial = source.has_partial || (a != 0 && a != 255);
                if (a != 255) continue;
                if (loaded.runs.size() > first && loaded.runs.back().end == x) ++loaded.runs.back().end;
                else loaded.runs.push_back({x, x + 1});
            }
            run_spans.emplace_back(first, loaded.runs.size() - first);
            loaded.rows.push_back(source);
        }
    for (std::size_t i = 0; i < loaded.rows.size(); ++i) {
        loaded.rows[i].runs = loaded.runs.data() + run_spans[i].first;
        loaded.rows[i].run_count = static_cast<int>(run_spans[i].second);
    }
    return loaded;
}

Problem gid_problem(const MapModel& map, std::uint32_t gid) {
    // The world flips nothing.
    if (gid & map_gid_flags) return "gid " + std::to_string(gid) + " is flipped";
    const int set = map_tileset_of(map, gid);
    if (set < 0 || gid - map.tilesets[set].first_gid >= static_cast<std::uint32_t>(map.tilesets[set].tile_count))
        return "gid " + std::to_string(gid) + " names no tile";
    return std::nullopt;
}

std::vector<const MapObject*> in_drawing_order(const MapObjectLayer& layer) {
    std::vector<const MapObject*> objects;
    for (const MapObject& o : layer.objects) objects.push_back(&o);
    if (layer.draw_order == MapDrawOrder::top_down)
        std::stable_sort(objects.begin(), objects.end(),
                         [](const MapObject* a, const MapObject* b) { return a->y < b->y; });
    return objects;
}

std::vector<Draw> draws_of(const MapModel& map, const std::vector<LoadedTileset>& sets, const MapFrame& frame) {
    std::vector<Draw> draws;
    const auto add = [&](std::uint32_t gid, int x, int y) {
        const int set = map_tileset_of(map, gid);
        const MapTileset& t = map.tilesets[set];
        draws.push_back({x + t.offset_x, y + t.offset_y, &sets[set], static_cast<int>(gid - t.first_gid)});
    };
    const int half_w = map.tile_width / 2;
    for (const auto& any : map.layers) {
        if (const auto* layer = std::get_if<MapTileLayer>(&any)) {
            const int left = frame.offset_x + layer->offset_x + map.height * half_w - half_w;
            const int top = frame.offset_y + layer->offset_y;
            const TiledLayerRows rows(map, *layer);
            for (int row = 0; row <= map.width + map.height - 2; ++row)
                for (int cx = std::max(0, row - (map.height - 1)); cx <= std::min(map.width - 1, row); ++cx) {
                    const int cy = row - cx;
                    const std::uint32_t gid = layer->gids[static_cast<std::size_t>(cy) * map.width + cx];
                    if (gid == 0) continue;
                    const MapTileset& t = map.tilesets[map_tileset_of(map, gid)];
                    add(gid, left + (cx - cy) * half_w, top + rows.bottom(row) - t.tile_height);
                }
        } else {
            const auto& objects = std::get<MapObjectLayer>(any);
            for (const MapObject* o : in_drawing_order(objects)) {
                // Checked to lie on whole pixels; add() moves it by its tileset's offset.
                const MapTileset& t = map.tilesets[map_tileset_of(map, o->gid)];
                const auto [x, y] = *tiled_object_pixel(map, t, *o);
                add(o->gid, frame.offset_x + objects.offset_x + x - t.offset_x,
                    frame.offset_y + objects.offset_y + y - t.offset_y);
            }
        }
    }
    return draws;
}

// Rows first_row to end_row of the draw onto `out`, which holds the frame's
// rows from out_row.
void draw_rows(const Draw& d, int first_row, int end_row, Sheet& out, int out_row) {
    const MapTileset& t = *d.set->tileset;
    const int x0 = std::max(0, d.x), x1 = std::min(out.image.width(), d.x + t.tile_width);
    if (x0 >= x1) return;
    const int y0 = std::max(first_row, d.y), y1 = std::min(end_row, d.y + t.tile_height);
    for (int y = y0; y < y1; ++y)
        blend_span(d.set->rows[static_cast<std::size_t>(d.tile) * t.tile_height + (y - d.y)], x0 - d.x,
                   out.image.row(y - out_row) + 3 * x0,
                   out.alpha.data() + static_cast<std::size_t>(y - out_row) * out.image.width() + x0, x1 - x0);
}
}  // namespace

MapFrame map_frame(const MapModel& map) {
    int left = 0, top = 0, right = 0, bottom = 0;
    for (const auto& any : map.layers) {
        const auto [x, y] = std::visit([](const auto& l) { return std::pair{l.offset_x, l.offset_y}; }, any);
        left = std::max(left, -x);
        right = std::max(right, x);
        top = std::max(top, -y);
        bottom = std::max(bottom, y);
    }
    const int side = map.width + map.height;
    return {side * map.tile_width / 2 + left + right, side * map.tile_height / 2 + top + bottom, left, top};
}

Problem map_composite_problem(const MapModel& map) {
    if (map.width < 1 || map.height < 1) return "the map has no cells";
    // Tiled steps whole halves of the width along a row, so an odd width
    // strays from its own grid; an odd height's half rows it rounds, as we do.
    if (map.tile_width < 2 || map.tile_height < 1 || map.tile_width % 2)
        return "the map's tile width " + std::to_string(map.tile_width) + " is odd";
    const MapFrame frame = map_frame(map);
    if (frame.width > largest_png_side || frame.height > largest_png_side)
        return "the map's image would be " + std::to_string(frame.width) + " x " + std::to_string(frame.height) +
               " pixels, more than a PNG's " + std::to_string(largest_png_side) + " a side";
    for (const MapTileset& t : map.tilesets) {
        if (!t.image || !t.alpha || t.alpha->size() != static_cast<std::size_t>(t.image->width()) * t.image->height())
            return "tileset " + t.name + " has no sheet";
        if (t.tile_count > 0 && (t.columns < 1 || t.tile_width < 1 || t.tile_height < 1 ||
                                 tile_x(t, t.tile_count - 1) + t.tile_width > t.image->width() ||
                                 tile_y(t, t.tile_count - 1) + t.tile_height > t.image->height()))
            return "tileset " + t.name + "'s sheet is smaller than its tiles";
    }
    for (const auto& any : map.layers) {
        if (const auto* layer = std::get_if<MapTileLayer>(&any)) {
            if (layer->gids.size() != static_cast<std::size_t>(map.width) * map.height)
                return "layer " + layer->name + " is not the map's size";
            for (const std::uint32_t gid : layer->gids)
                if (gid != 0)
                    if (Problem problem = gid_problem(map, gid)) return "layer " + layer->name + ": " + *problem;
            continue;
        }
        for (const MapObject& o : std::get<MapObjectLayer>(any).objects) {
            const std::string which = "object " + std::to_string(o.id);
            if (Problem problem = gid_problem(map, o.gid)) return which + ": " + *problem;
            const MapTileset& t = map.tilesets[map_tileset_of(map, o.gid)];
            if (o.width != t.tile_width || o.height != t.tile_height)
                return which + " is not the size of its tile, so Tiled would scale it";
            if (!tiled_object_pixel(map, t, o)) return which + "'s image would not lie on whole pixels";
        }
    }
    return std::nullopt;
}

bool composite_map_bands(const MapModel& map, int jobs, const MapBand& take) {
    if (map_composite_problem(map)) return false;
    const MapFrame frame = map_frame(map);
    std::vector<LoadedTileset> sets;
    sets.reserve(map.tilesets.size());
    for (const MapTileset& t : map.tilesets) sets.push_back(load(t));
    const std::vector<Draw> draws = draws_of(map, sets, frame);

    // Each band of rows takes, in order, the draws that reach it.
    const int bands = (frame.height + band_rows - 1) / band_rows;
    std::vector<std::vector<int>> band_draws(static_cast<std::size_t>(bands));
    for (int i = 0; i < static_cast<int>(draws.size()); ++i) {
        const Draw& d = draws[i];
        const int first = std::max(0, d.y) / band_rows;
        const int last = std::min(frame.height, d.y + d.set->tileset->tile_height) - 1;
        for (int band = first; last >= 0 && band <= last / band_rows; ++band) band_draws[band].push_back(i);
    }
    const std::size_t row_bytes = 4 * static_cast<std::size_t>(frame.width);
    const int per_hand = static_cast<int>(std::clamp<std::size_t>(handed_bytes / row_bytes / band_rows, 1, 64));
    Sheet out{RasterImage(frame.width, std::min(frame.height, per_hand * band_rows)), {}};
    out.alpha.assign(static_cast<std::size_t>(frame.width) * out.image.height(), 0);
    for (int from = 0; from < bands; from += per_hand) {
        const int end = std::min(bands, from + per_hand);
        const int out_row = from * band_rows, rows = std::min(frame.height, end * band_rows) - out_row;
        if (rows < out.image.height()) {
            out.image = RasterImage(frame.width, rows);
            out.alpha.resize(static_cast<std::size_t>(frame.width) * rows);
        }
        for (int y = 0; y < rows; ++y) std::memset(out.image.row(y), 0, 3 * static_cast<std::size_t>(frame.width));
        std::fill(out.alpha.begin(), out.alpha.end(), std::uint8_t{0});
        std::atomic<int> next_band{from};
        const auto work = [&] {
            for (int band = next_band++; band < end; band = next_band++) {
                const int first_row = band * band_rows, end_row = std::min(frame.height, first_row + band_rows);
                for (const int i : band_draws[band]) draw_rows(draws[i], first_row, end_row, out, out_row);
            }
        };
        {
            std::vector<std::jthread> helpers;  // joined before the rows are handed on
            for (int j = 1; j < std::min(jobs, end - from); ++j) helpers.emplace_back(work);
            work();
        }
        if (!take(out_row, out)) return false;
    }
    return true;
}

Sheet composite_map(const MapModel& map, int jobs) {
    if (map_composite_problem(map)) return {};
    const MapFrame frame = map_frame(map);
    Sheet whole{RasterImage(frame.width, frame.height),
                std::vector<std::uint8_t>(static_cast<std::size_t>(frame.width) * frame.height, 0)};
    composite_map_bands(map, jobs, [&](int first_row, const Sheet& band) {
        const std::size_t w = static_cast<std::size_t>(frame.width);
        for (int y = 0; y < band.image.height(); ++y)
            std::memcpy(whole.image.row(first_row + y), band.image.row(y), 3 * w);
        std::copy(band.alpha.begin(), band.alpha.end(), whole.alpha.begin() + static_cast<std::ptrdiff_t>(first_row * w));
        return true;
    });
    return whole;
}
