#include "contact_sheet.hpp"

#include "det_math.hpp"
#include "hash_random.hpp"
#include "iso_preview.hpp"
#include "sample_house.hpp"
#include "sheet_layout.hpp"
#include "tiny_font.hpp"

#include <string>
#include <vector>

namespace texgen {
namespace {

constexpr Rgb kBackdrop{28, 28, 34};
constexpr Rgb kLabel{235, 235, 120};
constexpr Rgb kCyan{0, 255, 255};
constexpr int kGap = 8;

// Copies a region enlarged by scale, painting the transparency key cyan.
void draw_scaled(PixelImage& dst, const PixelImage& src, int sx, int sy, int w, int h, int dx, int dy, int scale) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb c = src.at(sx + x, sy + y);
            if (c == kTransparentKey) c = kCyan;
            dst.fill_rect(dx + x * scale, dy + y * scale, scale, scale, c);
        }
}

// A 2 x 2 repeat of a cell shifted by half a cell, so the seams cross in the middle.
void draw_shifted_repeat(PixelImage& dst, const PixelImage& src, int sx, int sy, int size, int dx, int dy, int span) {
    for (int y = 0; y < span; ++y)
        for (int x = 0; x < span; ++x) {
            Rgb c = src.at(sx + wrap(x + size / 2, size), sy + wrap(y + size / 2, size));
            dst.set(dx + x, dy + y, c == kTransparentKey ? kCyan : c);
        }
}

PixelImage stack(const std::vector<PixelImage>& parts) {
    int w = 0, h = 0;
    for (const PixelImage& p : parts) {
        w = std::max(w, p.width());
        h += p.height();
    }
    PixelImage out(w, h, kBackdrop);
    int y = 0;
    for (const PixelImage& p : parts) {
        out.blit(p, 0, 0, p.width(), p.height(), 0, y);
        y += p.height();
    }
    return out;
}

// Lays out equal panels in columns under a title.
struct Grid {
    int panel_w, panel_h, columns, count;
    PixelImage img;
    Grid(const char* title, int pw, int ph, int cols, int n)
        : panel_w(pw),
          panel_h(ph),
          columns(cols),
          count(n),
          img(cols * (pw + kGap) + kGap, 24 + ((n + cols - 1) / cols) * (ph + kGap), kBackdrop) {
        draw_text(img, kGap, 6, title, {255, 255, 255}, 2);
    }
    int x(int i) const { return kGap + (i % columns) * (panel_w + kGap); }
    int y(int i) const { return 24 + (i / columns) * (panel_h + kGap); }
};

// Ground, water and rock cells: enlarged, repeated and on diamonds of three sizes.
PixelImage tiling_section(const char* title, const PixelImage& ground, int first_row, int count) {
    const int pw = 128 + kGap + 128 + kGap + 202 + kGap + 102 + kGap + 42, ph = 128 + 14;
    Grid g(title, pw, ph, 2, count);
    Pcg32 rng(0xC0FFEEu + static_cast<unsigned>(first_row));
    for (int i = 0; i < count; ++i) {
        const int tx = (i % 10) * 64, ty = (first_row + i / 10) * 64;
        int x = g.x(i), y = g.y(i);
        draw_text(g.img, x, y, std::to_string(i), kLabel, 2);
        y += 14;
        draw_scaled(g.img, ground, tx, ty, 64, 64, x, y, 2);
        x += 128 + kGap;
        draw_shifted_repeat(g.img, ground, tx, ty, 64, x, y, 128);
        x += 128 + kGap;
        PixelImage tiles(202 + kGap + 102 + kGap + 42, 128, kBackdrop);
        tiles.fill_rect(0, 0, tiles.width(), tiles.height(), {0, 0, 0});
        paint_diamond(tiles, ground, tx, ty, 100, 100, 10, rng);
        paint_diamond(tiles, ground, tx, ty, 50, 202 + kGap + 50, 30, rng);
        paint_diamond(tiles, ground, tx, ty, 20, 202 + kGap + 102 + kGap + 20, 50, rng);
        g.img.blit(tiles, 0, 0, tiles.width(), tiles.height(), x, y);
    }
    return g.img;
}

// Walls, plasters and roofs: the cell, its shifted repeat and houses wearing it.
PixelImage building_section(const SheetSet& s, bool roofs) {
    const int count = roofs ? kRoofCount : kWallCount + kPlasterCount;
    const int pw = 128 + kGap + 128 + kGap + 110 + kGap + 110 + kGap + 210, ph = 230;
    Grid g(roofs ? "ROOFS" : "WALLS AND PLASTERS", pw, ph, 2, count);
    Pcg32 rng(0xB111u + (roofs ? 1u : 0u));
    for (int i = 0; i < count; ++i) {
        const int cell = roofs ? 24 + i : i;
        const int tx = (cell % 6) * 128, ty = (cell / 6) * 128;
        int x = g.x(i), y = g.y(i);
        draw_text(g.img, x, y, std::to_string(i), kLabel, 2);
        y += 14;
        draw_scaled(g.img, s.building, tx, ty, 128, 128, x, y, 1);
        x += 128 + kGap;
        draw_shifted_repeat(g.img, s.building, tx, ty, 128, x, y, 128);
        x += 128 + kGap;
        PixelImage tiles(110 + kGap + 110 + kGap + 210, 214, {0, 0, 0});
        HouseLook look;
        look.wall = roofs ? 18 + i % 6 : i;
        look.roof = roofs ? i : (i * 5) % 12;
        look.door = i % 10;
        look.window = (i * 3) % 10;
        look.ground_x = (i % 10) * 64;
        look.ground_y = (i % 2 == 0 ? kGrassRow : kGroundRow) * 64;
        look.half_width = 50;
        look.wall_height = 40;
        look.side = 0;
        paint_sample_house(tiles, s.building, s.ground, look, 55, 200, rng);
        look.side = 1;
        paint_sample_house(tiles, s.building, s.ground, look, 110 + kGap + 55, 200, rng);
        look.half_width = 100;
        look.wall_height = 70;
        paint_sample_house(tiles, s.building, s.ground, look, 2 * (110 + kGap) + 105, 210, rng);
        g.img.blit(tiles, 0, 0, tiles.width(), tiles.height(), x, y);
    }
    return g.img;
}

// A patch of wall with one opening scaled to w pixels, enlarged 3x.
void opening_preview(PixelImage& dst, const SheetSet& s, bool door, int index, int w, int dx, int dy) {
    const int h = door ? 2 * w : w;
    PixelImage patch(w + 8, h + 8);
    patch.blit(s.building, 0, 128, w + 8, h + 8, 0, 0);
    paste_opening(patch, s.ground, index * 64, door ? 0 : 64, 4, 4, w, h);
    draw_scaled(dst, patch, 0, 0, patch.width(), patch.height(), dx, dy, 3);
}

PixelImage openings_section(const SheetSet& s) {
    const int pw = 128 + kGap + 90 + kGap + 57 + kGap + 42, ph = 14 + 156;
    Grid g("DOORS AND WINDOWS AT 22 11 AND 6 PIXELS", pw, ph, 4, 20);
    for (int i = 0; i < 20; ++i) {
        const bool door = i < 10;
        const int k = i % 10;
        int x = g.x(i), y = g.y(i);
        draw_text(g.img, x, y, std::string(door ? "DOOR " : "WINDOW ") + std::to_string(k), kLabel, 2);
        y += 14;
        draw_scaled(g.img, s.ground, k * 64, door ? 0 : 64, 64, 64, x, y, 2);
        x += 128 + kGap;
        for (int w : {22, 11, 6}) {
            opening_preview(g.img, s, door, k, w, x, y);
            x += (w + 8) * 3 + kGap;
        }
    }
    return g.img;
}

PixelImage boulder_section(const SheetSet& s) {
    const int pw = 128 + kGap + 202, ph = 14 + 128;
    Grid g("BOULDERS", pw, ph, 3, 12);
    Pcg32 rng(0xB0u);
    for (int i = 0; i < 12; ++i) {
        int x = g.x(i), y = g.y(i);
        draw_text(g.img, x, y, std::to_string(i), kLabel, 2);
        y += 14;
        draw_scaled(g.img, s.boulder, (i % 4) * 64, (i / 4) * 64, 64, 64, x, y, 2);
        x += 128 + kGap;
        PixelImage tile(202, 128, {0, 0, 0});
        paint_diamond(tile, s.ground, (i % 10) * 64, kGrassRow * 64, 100, 100, 20, rng);
        paint_boulder_sprite(tile, s.boulder, i, 40, 80, 0.3, 0.22, 0.75, rng);
        paint_boulder_sprite(tile, s.boulder, i, 70, 95, 0.55, 0.45, 0.6, rng);
        paint_boulder_sprite(tile, s.boulder, i, 120, 100, 0.95, 0.7, 0.9, rng);
        g.img.blit(tile, 0, 0, tile.width(), tile.height(), x, y);
    }
    return g.img;
}

}  // namespace

PixelImage make_contact_sheet(const SheetSet& s, std::string_view section) {
    std::vector<PixelImage> parts;
    const bool all = section == "all";
    if (all || section == "walls") parts.push_back(building_section(s, false));
    if (all || section == "roofs") parts.push_back(building_section(s, true));
    if (all || section == "openings") parts.push_back(openings_section(s));
    if (all || section == "grass") parts.push_back(tiling_section("GRASS", s.ground, kGrassRow, 10));
    if (all || section == "ground") parts.push_back(tiling_section("GROUND", s.ground, kGroundRow, 10));
    if (all || section == "water") parts.push_back(tiling_section("WATER", s.ground, kWaterRow, 10));
    if (all || section == "rock") parts.push_back(tiling_section("ROCK AND EARTH", s.ground, kRockRow, 20));
    if (all || section == "boulders") parts.push_back(boulder_section(s));
    if (parts.empty()) return PixelImage();
    return stack(parts);
}

PixelImage make_highlights(const SheetSet& s) {
    PixelImage img(4 * 124 + 8, 2 * 118 + 8, {0, 0, 0});
    Pcg32 rng(0x41u);
    const int walls[4] = {1, 7, 13, 19}, roofs[4] = {0, 5, 8, 10};
    for (int k = 0; k < 4; ++k) {
        HouseLook look;
        look.wall = walls[k];
        look.roof = roofs[k];
        look.door = k * 3;
        look.window = k * 2 + 1;
        look.ground_x = (k * 3) * 64;
        look.ground_y = (k % 2 == 0 ? kGrassRow : kGroundRow) * 64;
        look.side = k % 2;
        paint_sample_house(img, s.building, s.ground, look, 66 + k * 124, 112, rng);
    }
    const int rows[4] = {kGrassRow, kGroundRow, kWaterRow, kRockRow};
    for (int k = 0; k < 4; ++k) {
        const int top = 126 + 30;
        paint_diamond(img, s.ground, ((k * 3 + 1) % 10) * 64, rows[k] * 64, 50, 66 + k * 124, top, rng);
        if (k == 0) {
            paint_boulder_sprite(img, s.boulder, 2, 40, top + 30, 0.45, 0.3, 0.8, rng);
            paint_boulder_sprite(img, s.boulder, 7, 62, top + 42, 0.35, 0.25, 0.7, rng);
        }
    }
    return img;
}

}  // namespace texgen
