#pragma once
#include "state/tile_context.hpp"
#include "commands/tile_history.hpp"

#include <string>

// The next numbered name of "Save image" for the tile on the canvas: the
// prefix of its kind, then the first number after save_counter whose file
// does not exist in the current directory yet.
struct NumberedName {
    std::string prefix;
    std::int32_t number;
    std::string name;
};
NumberedName next_save_name(const AppState& state, const std::string& extension);
// True when something (a file, a folder, even a dangling link) has the name.
bool name_is_taken(const std::string& name);

// Puts the work image on the clipboard; nothing is shown either way.
void copy_image(TileContext& context);

// Writes the work image to the next free numbered BMP file in the current
// directory and tells the user whether it worked.
void save_current_tile(TileContext& context);

// Asks for a name ("Save tile as PNG", offering the next free numbered
// name with .png) and writes the tile as an RGBA PNG; cancelling writes
// nothing, and the outcome is told either way.
void save_tile_png(TileContext& context, const TransparentTile& tile);

// Disables (true) or enables (false) the controls that could start another
// command while a tile set is drawn.
void set_controls_disabled(TileContext& context, bool disabled);

// The cell layout of a tile set for the current controls.
struct TileSetLayout {
    int half_width;
    int above_centre;  // H: rows copied above the tile's centre
    int top;           // first canvas row copied
    int cell_width;
    int cell_height;
    int columns;
    int rows;
};
TileSetLayout tile_set_layout(TileContext& context);

// Draws a sheet of random tiles of the showing tab, asks for a file name and
// saves the sheet. The last tile, which stays on show, joins the history.
void create_tile_set(TileContext& context, TileHistory* history = nullptr);
