#pragma once
#include "export/problem.hpp"
#include "export/map/map_model.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// What the Godot scenes of a map share: how a gid names a tile of a
// TileSet, where a tile object stands, and the nodes' names.

// What a Godot scene needs of one of the map's tilesets beyond the model,
// every path relative to the scene.
struct GodotSceneTileset {
    std::string tileset;       // its TileSet .tres (the Godot 4 one or the Godot 3 one)
    std::string image;         // its sheet: what a tile object's sprite draws
    std::string normal_image;  // its normal sheet, empty for none: lights the sprites
    int cell_stride = 1;       // tile k lies in cell k x stride (the cells between are its
                               // animation frames): Godot 3 numbers tiles, not cells
};

// A gid resolved: which tileset, which cell of its sheet and Tiled's flips.
struct SceneTile {
    int tileset = -1;
    int id = 0;  // the cell in the sheet, as Tiled numbers it
    bool flip_h = false, flip_v = false, flip_d = false;
    int column(const MapTileset& t) const { return id % t.columns; }
    int row(const MapTileset& t) const { return id / t.columns; }
};
// Tiled keeps the flips in a gid's top bits.
inline constexpr std::uint32_t gid_flip_h = 0x80000000u, gid_flip_v = 0x40000000u, gid_flip_d = 0x20000000u;
inline constexpr std::uint32_t gid_flags = 0xf0000000u;

// Every gid's tile, found once: the tilesets hold a few thousand between
// them, and a map names them millions of times.
class GidTiles {
public:
    explicit GidTiles(const MapModel& map);
    std::optional<SceneTile> operator()(std::uint32_t gid) const;

private:
    std::vector<SceneTile> tiles_;  // by gid less its flips; tileset -1 for none
};

// Why the map cannot become a Godot scene, or nothing: every gid must name
// a cell of a tileset, every tileset needs its files, and Godot 4 keeps a
// cell's coordinates in 16 bits.
Problem godot_scene_problem(const MapModel& map, const std::vector<GodotSceneTileset>& tilesets);

// A tile layer's cells by the tileset they draw from, tilesets in order,
// cells in row order: a TileMap holds one TileSet, so a layer over several
// becomes one node each.
struct LayerPart {
    int tileset = 0;
    std::vector<std::size_t> cells;  // indices into the layer's gids
};
std::vector<LayerPart> layer_parts(const MapModel& map, const GidTiles& tiles, const MapTileLayer& layer);

// The tilesets a scene's nodes draw from: those its tile layers place
// (`parts`, one list a layer) and those its objects show.
struct UsedTilesets {
    std::set<int> layered, drawn;
};
UsedTilesets used_tilesets(const MapModel& map, const GidTiles& tile_of,
                           const std::vector<std::vector<LayerPart>>& parts);

// Whether the tileset's tiles reach beyond the map's diamond box: then its
// cells overlap and must be drawn by rows down the screen, as Tiled does.
bool tiles_overlap(const MapModel& map, const MapTileset& tileset);

// Where Tiled stands a tile object, in an engine's frame whose cell (0, 0)
// has its top corner at (top_x, 0): the point it stands on, and its image's
// top-left from there (unscaled: the sprite's offset) and the scale.
struct StandingSprite {
    double x = 0, y = 0;
    double offset_x = 0, offset_y = 0;
    double scale_x = 1, scale_y = 1;
    int region_x = 0, region_y = 0;  // the cell in the sheet
};
StandingSprite standing_sprite(const MapModel& map, const MapObject& object, const SceneTile& tile, double top_x);

// Where an object's foot (the centre of its cell's diamond) lies from its
// sprite's position (the point it stands on, its cell's bottom corner).
std::array<double, 2> footprint_offset(const MapModel& map, const MapTileset& tileset);
// A StaticBody2D under the sprite at `sprite` (a node path) at its foot,
// with a CollisionPolygon2D a polygon of the object's collision; nothing
// when it has none. `open`, `close`, `pad`: the engine's array text.
void write_footprint(std::ostream& out, const std::string& sprite, const MapObject& object, std::array<double, 2> foot,
                     const char* open, const char* close, const char* pad);

// A node name Godot accepts (none of . : @ / " % and not empty), made
// unique among its siblings in `taken`.
std::string node_name(const std::string& wanted, std::set<std::string>& taken);

// A number as Godot's text resources write it: shortest, "12" or "12.5".
std::string godot_number(double value);
