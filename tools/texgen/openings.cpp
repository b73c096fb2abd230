// Doors and windows: one 64 x 64 cell each, scaled by the program down to
// 4..22 pixels wide (doors twice as high, so a door cell is drawn squashed to
// half its height). Features are bold, at least 6 pixels across and 3 down.
#include "colour_math.hpp"
#include "material.hpp"
#include "noise.hpp"
#include "recipes.hpp"

#include <array>
#include <cmath>

namespace texgen {
namespace {

enum class Top { Square, Arched };

struct DoorStyle {
    Col frame;
    Col leaf;
    int planks;  // 0: panelled
    Top top;
    bool studs;  // iron studs and straps
    bool glass;  // a small window in the leaf
    bool two_leaves;
    bool open;  // an open doorway: dark inside
    std::uint64_t seed;
};

const std::array<DoorStyle, 10> kDoors = {{
    {col(92, 64, 44), col(132, 86, 50), 4, Top::Square, false, false, false, false, 801},
    {col(150, 146, 136), col(56, 112, 64), 3, Top::Arched, false, false, false, false, 802},
    {col(228, 224, 212), col(156, 44, 40), 0, Top::Square, false, false, false, false, 803},
    {col(140, 132, 120), col(92, 62, 40), 4, Top::Arched, true, false, false, false, 804},
    {col(226, 222, 210), col(52, 82, 140), 0, Top::Square, false, true, false, false, 805},
    {col(104, 96, 84), col(150, 144, 130), 3, Top::Square, false, false, false, false, 806},
    {col(100, 70, 46), col(206, 160, 70), 0, Top::Arched, false, true, false, false, 807},
    {col(170, 160, 144), col(110, 70, 44), 4, Top::Square, true, false, true, false, 808},
    {col(160, 150, 136), col(70, 64, 60), 3, Top::Arched, true, false, false, false, 809},
    {col(170, 130, 90), col(40, 30, 26), 0, Top::Square, false, false, false, true, 810},
}};

struct WindowStyle {
    Col frame;
    int columns, rows;  // panes
    Col shutters;
    bool has_shutters;
    bool arched;
    bool lit;      // warm lamplight instead of sky reflection
    bool flowers;  // a flower box on the sill
    bool closed;   // shutters closed over the glass
    std::uint64_t seed;
};

const std::array<WindowStyle, 10> kWindows = {{
    {col(232, 230, 222), 2, 2, col(0, 0, 0), false, false, false, false, false, 901},
    {col(110, 76, 48), 2, 1, col(60, 120, 60), true, false, false, false, false, 902},
    {col(230, 228, 220), 2, 3, col(60, 90, 150), true, false, false, false, false, 903},
    {col(70, 60, 54), 1, 1, col(0, 0, 0), false, false, false, false, false, 904},
    {col(168, 160, 146), 2, 1, col(0, 0, 0), false, true, false, false, false, 905},
    {col(76, 50, 34), 2, 2, col(178, 58, 46), true, false, false, false, true, 906},
    {col(110, 76, 48), 2, 2, col(0, 0, 0), false, false, true, false, false, 907},
    {col(236, 234, 226), 2, 2, col(0, 0, 0), false, false, false, true, false, 908},
    {col(150, 150, 146), 3, 2, col(196, 150, 60), true, false, false, false, false, 909},
    {col(196, 186, 166), 1, 2, col(0, 0, 0), false, true, true, false, false, 910},
}};

void fill(PixelImage& img, int x, int y, int w, int h, Col c) { img.fill_rect(x, y, w, h, to_rgb(c)); }

// A bevelled frame: light top-left, dark bottom-right edges.
void frame_rect(PixelImage& img, int x, int y, int w, int h, Col c) {
    fill(img, x, y, w, h, c);
    fill(img, x, y, w, 2, shade(c, 0.3));
    fill(img, x, y, 2, h, shade(c, 0.2));
    fill(img, x, y + h - 2, w, 2, shade(c, -0.35));
    fill(img, x + w - 2, y, 2, h, shade(c, -0.3));
}

// Wood grain running down a leaf.
Col wood_at(Col c, std::uint64_t seed, int x, int y) {
    double n = fbm(seed, x + 0.5, y + 0.5, 16, 2, 64, 64, 2);
    return shade(c, (n - 0.5) * 0.35);
}

// Height of an arch's underside at column x of the span [x0, x1): rows in the
// cell (half as tall as on screen for doors).
int arch_y(int x, int x0, int x1, int top, int rise) {
    double c = (x0 + x1) / 2.0, r = (x1 - x0) / 2.0;
    double d = (x + 0.5 - c) / r;
    return top + static_cast<int>(std::floor(rise * (1.0 - std::sqrt(std::fmax(0.0, 1.0 - d * d)))));
}

}  // namespace

PixelImage paint_door(int index) {
    const DoorStyle& s = kDoors[static_cast<std::size_t>(index)];
    PixelImage img(64, 64);
    // Frame all round; the leaf inside from x 9..54, y 5..63.
    frame_rect(img, 0, 0, 64, 64, s.frame);
    const int lx0 = 9, lx1 = 55, ly0 = 5, rise = s.top == Top::Arched ? 12 : 0;
    for (int y = ly0; y < 64; ++y)
        for (int x = lx0; x < lx1; ++x) {
            if (y < arch_y(x, lx0, lx1, ly0, rise)) continue;
            Col c = s.open ? shade(s.leaf, -0.1 * (64 - y) / 64.0) : wood_at(s.leaf, s.seed, x, y);
            int u = x - lx0, w = lx1 - lx0;
            double light = 0.0;
            if (s.open) {
                // Light falls in across the floor.
                if (y > 50) c = mix(c, col(120, 96, 70), (y - 50) / 16.0);
                if (u < 5) light -= 0.2;
            } else if (s.planks > 0) {
                int plank = u * s.planks / w;
                int start = (plank * w + s.planks - 1) / s.planks;
                int pu = u - start;
                c = feature_tint(c, hash_ints(s.seed, plank), 0.9, 1.08, 0.03);
                if (pu < 2 && plank > 0) light -= 0.55;  // gap between planks
            } else {
                // Two raised panels, a top and a bottom one.
                bool in_top = u >= 7 && u < w - 7 && y >= ly0 + 6 + rise && y < 30;
                bool in_bottom = u >= 7 && u < w - 7 && y >= 36 && y < 58;
                if (in_top || in_bottom) {
                    int py0 = in_top ? ly0 + 6 + rise : 36, py1 = in_top ? 30 : 58;
                    if (y < py0 + 2 || u < 9) light -= 0.3;
                    else if (y >= py1 - 2 || u >= w - 9) light += 0.25;
                }
            }
            if (s.two_leaves && (u == w / 2 - 1 || u == w / 2)) light = -0.7;
            img.set(x, y, to_rgb(shade(c, light)));
        }
    if (!s.open) {
        if (s.studs) {
            // Iron straps across the leaf, three px tall: six on screen.
            for (int band : {14, 46}) fill(img, lx0, band, lx1 - lx0, 4, col(54, 50, 50));
            for (int band : {14, 46})
                for (int x = lx0 + 4; x < lx1 - 2; x += 10) fill(img, x, band + 1, 2, 2, col(150, 146, 140));
        } else {
            // Hinges on the left.
            for (int band : {16, 48}) fill(img, lx0, band, 18, 3, col(44, 40, 40));
        }
        if (s.glass) {
            const int gy = ly0 + 6 + rise;
            frame_rect(img, 22, gy - 2, 20, 12, shade(s.leaf, -0.3));
            for (int y = gy; y < gy + 8; ++y)
                for (int x = 24; x < 40; ++x)
                    img.set(x, y, to_rgb(mix(col(150, 200, 230), col(70, 110, 160), (x - 24 + y - gy) / 24.0)));
        }
        // Handle: a bright knob, large enough to survive scaling.
        int hx = s.two_leaves ? 24 : 44;
        fill(img, hx, 32, 7, 4, col(226, 196, 90));
        fill(img, hx, 35, 7, 1, col(120, 92, 40));
        if (s.two_leaves) fill(img, 34, 32, 7, 4, col(226, 196, 90));
    }
    // Doorstep.
    fill(img, 0, 61, 64, 3, shade(s.frame, -0.2));
    return img;
}

PixelImage paint_window(int index) {
    const WindowStyle& s = kWindows[static_cast<std::size_t>(index)];
    PixelImage img(64, 64);
    const int sh = s.has_shutters ? 12 : 0;
    // Shutters: boards with a dark frame and slats.
    if (s.has_shutters) {
        for (int side = 0; side < 2; ++side) {
            int x0 = side == 0 ? 0 : 64 - sh;
            frame_rect(img, x0, 0, sh, 64, shade(s.shutters, -0.2));
            for (int y = 3; y < 61; ++y)
                for (int x = x0 + 2; x < x0 + sh - 2; ++x)
                    img.set(x, y, to_rgb(shade(s.shutters, (y % 6) < 2 ? -0.3 : 0.05)));
        }
    }
    // Frame and glass.
    const int fx = sh, fw = 64 - 2 * sh, fh = s.flowers ? 52 : 56;
    frame_rect(img, fx, 0, fw, fh, s.frame);
    const int f = 6;
    const int gx0 = fx + f, gx1 = fx + fw - f, gy0 = f, gy1 = fh - f;
    const int rise = s.arched ? 14 : 0;
    for (int y = gy0; y < gy1; ++y)
        for (int x = gx0; x < gx1; ++x) {
            if (y < arch_y(x, gx0, gx1, gy0, rise)) continue;
            double t = double((x - gx0) + (y - gy0)) / double((gx1 - gx0) + (gy1 - gy0));
            Col c =
                s.lit ? mix(col(250, 214, 120), col(196, 120, 50), t) : mix(col(54, 78, 120), col(130, 176, 212), t);
            if (s.closed) {
                // Two leaves meeting in the middle, a rail across each: bold
                // enough to read at any size (fine slats would alias away).
                int mid = (gx0 + gx1) / 2;
                bool gap = x >= mid - 3 && x < mid + 3;
                bool rail = std::abs(y - (gy0 + gy1) / 2) < 3;
                c = shade(s.shutters, gap ? -0.65 : (rail ? -0.3 : 0.15));
            }
            // A diagonal highlight across the glass.
            int d = (x - gx0) - (gy1 - y);
            if (!s.lit && !s.closed && d > -8 && d < 0) c = mix(c, col(230, 240, 250), 0.6);
            img.set(x, y, to_rgb(c));
        }
    // Muntins between panes, six pixels so they survive down to about 11 px.
    for (int i = 1; i < s.columns; ++i) {
        int x = gx0 + (gx1 - gx0) * i / s.columns - 3;
        for (int y = gy0; y < gy1; ++y)
            for (int k = 0; k < 6; ++k)
                if (y >= arch_y(x + k, gx0, gx1, gy0, rise))
                    img.set(x + k, y, to_rgb(shade(s.frame, k < 2 ? 0.1 : (k > 3 ? -0.25 : 0.0))));
    }
    for (int i = 1; i < s.rows; ++i) {
        int y = gy0 + (gy1 - gy0) * i / s.rows - 2;
        fill(img, gx0, y, gx1 - gx0, 4, s.frame);
        fill(img, gx0, y + 3, gx1 - gx0, 1, shade(s.frame, -0.3));
    }
    // Arch corners above the glass belong to the frame.
    // Sill: a light ledge, or a flower box.
    if (s.flowers) {
        fill(img, fx, 52, fw, 12, col(104, 70, 44));
        Pcg32 rng(s.seed);
        for (int k = 0; k < 9; ++k) {
            int x = fx + 2 + rng.below(fw - 8), y = 50 + rng.below(6);
            fill(img, x, y, 5, 4, k % 3 == 0 ? col(70, 140, 50) : col(220, 60, 60 + 40 * (k % 2)));
        }
        fill(img, fx, 60, fw, 4, col(80, 54, 36));
    } else {
        fill(img, fx - 2 < 0 ? 0 : fx - 2, 56, fw + 4 > 64 ? 64 : fw + 4, 5, col(214, 208, 196));
        fill(img, fx - 2 < 0 ? 0 : fx - 2, 61, fw + 4 > 64 ? 64 : fw + 4, 3, col(128, 120, 110));
    }
    return img;
}

}  // namespace texgen
