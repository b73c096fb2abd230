// The eighteen walls and six plasters of the building sheet, as data rows.
#include "colour_math.hpp"
#include "recipes.hpp"
#include "walls_masonry.hpp"
#include "walls_wood.hpp"

#include <array>

namespace texgen {
namespace {

enum class Kind { Brick, Rubble, Ashlar, Board, Timber };

struct WallRow {
    Kind kind;
    int style;  // index into that kind's table
};

const std::array<BrickStyle, 5> kBricks = {{
    {Bond::Running, 16, 8, col(158, 70, 50), col(176, 168, 152), 0.16, 0.0, 101},     // red
    {Bond::English, 16, 6, col(172, 98, 58), col(200, 190, 168), 0.14, 0.25, 102},    // orange
    {Bond::Flemish, 12, 6, col(196, 164, 108), col(120, 112, 100), 0.12, 0.45, 103},  // buff
    {Bond::Third, 12, 7, col(102, 60, 66), col(168, 162, 150), 0.18, 0.0, 104},       // plum
    {Bond::Stack, 8, 4, col(214, 208, 196), col(140, 136, 130), 0.06, 0.0, 105},      // whitewashed
}};

const std::array<RubbleStyle, 4> kRubble = {{
    {5, 4, 2.5, col(150, 146, 136), col(92, 88, 80), 0.16, 0.0, false, 201},    // grey fieldstone
    {7, 7, 2.0, col(190, 150, 100), col(120, 100, 76), 0.18, 0.0, false, 202},  // sandstone
    {8, 8, 1.5, col(70, 74, 84), col(206, 200, 186), 0.2, 0.0, true, 203},      // flint in lime
    {4, 4, 3.0, col(128, 126, 112), col(76, 80, 64), 0.14, 0.55, false, 204},   // mossy
}};

constexpr std::array<int, 8> c32 = {32, 32, 32, 32, 0, 0, 0, 0};
const std::array<AshlarStyle, 2> kAshlar = {{
    {{22, 22, 20, 22, 20, 22, 0, 0}, {40, 28, 36, 24}, 19, col(184, 180, 170), col(110, 106, 98), 301},
    {c32, {64, 48, 16, 48}, 30, col(176, 124, 84), col(102, 76, 56), 302},
}};

const std::array<BoardStyle, 5> kBoards = {{
    {BoardKind::Vertical,
     {16, 16, 16, 16, 16, 16},
     col(138, 132, 120),
     0.12,
     0.18,
     0.0,
     col(0, 0, 0),
     false,
     401},  // grey weathered
    {BoardKind::Vertical,
     {24, 20, 22, 20, 18, 24},
     col(128, 82, 48),
     0.14,
     0.22,
     0.0,
     col(0, 0, 0),
     true,
     402},  // brown, battens
    {BoardKind::Clapboard,
     {16, 16, 16, 16, 16, 16},
     col(120, 96, 70),
     0.05,
     0.1,
     0.55,
     col(226, 224, 214),
     false,
     403},  // white clapboard
    {BoardKind::Clapboard,
     {12, 12, 12, 12, 12, 12},
     col(120, 90, 60),
     0.05,
     0.1,
     0.75,
     col(150, 50, 40),
     false,
     404},  // barn red
    {BoardKind::Logs, {16, 16, 16, 16, 16, 16}, col(150, 104, 62), 0.12, 0.15, 0.0, col(0, 0, 0), false, 405},  // logs
}};

const std::array<TimberStyle, 2> kTimber = {{
    {col(78, 54, 38), col(226, 218, 196), false, 501},
    {col(70, 50, 40), col(166, 82, 56), true, 502},
}};

// Rows 0..2 of the building sheet, six to a row.
const std::array<WallRow, 18> kWalls = {{
    {Kind::Brick, 0},
    {Kind::Brick, 1},
    {Kind::Brick, 2},
    {Kind::Brick, 3},
    {Kind::Brick, 4},
    {Kind::Rubble, 0},
    {Kind::Rubble, 1},
    {Kind::Rubble, 2},
    {Kind::Rubble, 3},
    {Kind::Ashlar, 0},
    {Kind::Ashlar, 1},
    {Kind::Board, 0},
    {Kind::Board, 1},
    {Kind::Board, 2},
    {Kind::Board, 3},
    {Kind::Board, 4},
    {Kind::Timber, 0},
    {Kind::Timber, 1},
}};

const std::array<PlasterStyle, 6> kPlasters = {{
    {col(232, 228, 214), 0.5, 0.0, 601},   // lime white
    {col(226, 206, 156), 0.6, 0.0, 602},   // cream
    {col(206, 156, 84), 0.7, 0.0, 603},    // ochre
    {col(214, 160, 150), 0.6, 0.0, 604},   // pink
    {col(156, 170, 178), 0.6, 0.0, 605},   // blue-grey
    {col(212, 202, 182), 0.8, 0.38, 606},  // worn, bricks showing
}};

// Back faces are shaded to half: keep every wall pixel bright enough that
// joints and shadows stay dark grey there rather than black.
constexpr int kWallFloor = 40;

Rgb wall_kind_texel(int index, int x, int y) {
    const WallRow& w = kWalls[static_cast<std::size_t>(index)];
    const auto i = static_cast<std::size_t>(w.style);
    switch (w.kind) {
        case Kind::Brick: return brick_texel(kBricks[i], x, y);
        case Kind::Rubble: return rubble_texel(kRubble[i], x, y);
        case Kind::Ashlar: return ashlar_texel(kAshlar[i], x, y);
        case Kind::Board: return board_texel(kBoards[i], x, y);
        case Kind::Timber: return timber_texel(kTimber[i], x, y);
    }
    return {};
}

}  // namespace

Rgb wall_texel(int index, int x, int y) { return lift_dark(wall_kind_texel(index, x, y), kWallFloor); }

Rgb plaster_texel(int index, int x, int y) {
    return lift_dark(plaster_style_texel(kPlasters[static_cast<std::size_t>(index)], x, y), kWallFloor);
}

}  // namespace texgen
