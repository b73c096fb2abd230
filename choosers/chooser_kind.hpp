#pragma once
#include "state/texture_cells.hpp"

#include <string>

// The eight texture choosers and what each one looks like: a grid of texture
// cells cut from a sheet, an "Ok" button under it.
enum class ChooserKind { water, grass_colour, windows, mountain, wall, door, ground, roof };

// Which built-in sheet a chooser's cells come from.
enum class ChooserSheet { ground, building };

struct ChooserSpec {
    const char* title;
    ChooserSheet sheet;
    int rows;
    int columns;
    int cell_size;
    int width;  // client area
    int height;
    bool multiple;  // walls and roofs: any number of cells

    int cell_count() const { return rows * columns; }
    // The top-left of cell i inside the chooser window.
    int cell_x(int i) const { return cell_size * (i % columns); }
    int cell_y(int i) const { return cell_size * (i / columns); }
    // The "Ok" button, centred under the grid.
    int ok_x() const { return width / 2 - 25; }
    int ok_y() const { return height - 22; }
    static constexpr int ok_width = 50;
    static constexpr int ok_height = 18;
};

const ChooserSpec& chooser_spec(ChooserKind kind);

// The top-left texel of cell i of the chooser in its sheet.
SheetPoint chooser_cell_origin(ChooserKind kind, int i);

// The texture button of the panel that opens a chooser, and for water which
// of its three uses (0 the Terrain tab, 1 and 2 the Water tab's textures).
struct ChooserButton {
    int button;
    ChooserKind kind;
    int water_variant;
};
// The chooser a button opens; nullptr for a control that opens none.
const ChooserButton* chooser_for_button(int button);

// Control 33: the chooser window's only control.
inline constexpr int chooser_ok_button = 33;
