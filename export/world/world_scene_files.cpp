#include "export/world/world_scene_files.hpp"

#include "export/formats/lighting_map_files.hpp"
#include "export/map/map_composite.hpp"
#include "export/map/tiled_placement.hpp"
#include "export/formats/world_file_names.hpp"
#include "export/formats/world_godot.hpp"
#include "export/formats/world_godot3.hpp"
#include "export/formats/world_tmx.hpp"

#include <tuple>

SceneFiles world_scene_files(const MapModel& model, const std::string& stem,
                             const std::vector<const WorldSheet*>& sheets, bool normals) {
    SceneFiles out;
    std::vector<GodotSceneTileset> godot4, godot3;
    for (const WorldSheet* sheet : sheets) {
        const std::string image = sheet->image_file();
        const std::string normal_image = normals ? lighting_map_file_name(image, "_n.png") : "";
        godot4.push_back({sheet->godot_file(), image, normal_image, 1});
        // Godot 3's scene lies in its own folder with its TileSets and sheets.
        godot3.push_back({sheet->stem + ".tres", image, normal_image, sheet->frames});
    }
    if (Problem problem = map_composite_problem(model)) {
        out.problem = "the world's map cannot be drawn: " + *problem;
        return out;
    }
    if (const Problem problem = godot_scene_problem(model, godot4)) {
        out.problem = "the world's Godot scene cannot be written: " + *problem;
        return out;
    }
    out.files.emplace_back(stem + ".tmx", world_tmx(model));
    out.files.emplace_back(stem + ".tscn", godot_world_scene(model, godot4));
    out.files.emplace_back(world_godot3_path(stem + ".tscn"), godot3_world_scene(model, godot3));
    return out;
}

MapObject standing_object(const MapModel& map, const MapTileset& tileset, std::uint32_t gid, int x, int y, int rise,
                          const TiledLayerRows& ground, ScreenOffset offset) {
    // Tiled stands the image's bottom middle on the object's point, then
    // moves it by the tileset's offset, which is made for tile layers. So
    // the point is the bottom middle of the tile's image as a tile layer
    // draws it in cell (x, y): its left edge W / 2 left of the cell's top
    // corner, its bottom where Tiled draws the ground's row, `rise` pixels
    // up, then moved by `offset`. All are whole screen pixels.
    const int half_w = map.tile_width / 2;
    const int sx = (x - y + map.height) * half_w - half_w + tileset.tile_width / 2 + offset.across;
    const int sy = ground.bottom(x + y) - rise + offset.down;
    MapObject object;
    object.gid = gid;
    object.width = tileset.tile_width;
    object.height = tileset.tile_height;
    std::tie(object.x, object.y) = tiled_object_point(map, sx, sy);
    return object;
}
