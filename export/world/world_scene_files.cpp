#include "export/world/world_scene_files.hpp"

#include "export/formats/lighting_map_files.hpp"
#include "export/formats/tile_encoding.hpp"
#include "export/map/map_composite.hpp"
#include "export/formats/world_godot.hpp"
#include "export/formats/world_godot3.hpp"
#include "export/formats/world_tmx.hpp"

SceneFiles world_scene_files(const MapModel& model, const std::string& stem,
                             const std::vector<const WorldSheet*>& sheets, bool normals, int jobs) {
    SceneFiles out;
    std::vector<GodotSceneTileset> godot4, godot3;
    for (const WorldSheet* sheet : sheets) {
        const std::string image = sheet->image_file();
        const std::string normal_image = normals ? lighting_map_file_name(image, "_n.png") : "";
        godot4.push_back({sheet->godot_file(), image, normal_image, 1});
        godot3.push_back({sheet->godot3_file(), image, normal_image, sheet->frames});
    }
    if (Problem problem = map_composite_problem(model)) {
        out.problem = "the world's map cannot be drawn: " + *problem;
        return out;
    }
    if (const Problem problem = godot_scene_problem(model, godot4)) {
        out.problem = "the world's Godot scene cannot be written: " + *problem;
        return out;
    }
    const Sheet image = composite_map(model, jobs);
    const std::vector<std::uint8_t> png = encode_image(image.image, &image.alpha, true);
    if (png.empty()) {
        out.problem = "the world's image could not be encoded";
        return out;
    }
    out.files.emplace_back(stem + ".tmx", world_tmx(model));
    out.files.emplace_back(stem + ".png", std::string(png.begin(), png.end()));
    out.files.emplace_back(stem + ".tscn", godot_world_scene(model, godot4));
    out.files.emplace_back(stem + "_godot3.tscn", godot3_world_scene(model, godot3));
    return out;
}

MapObject standing_object(const MapModel& map, const MapTileset& tileset, std::uint32_t gid, int x, int y, int rise,
                          ScreenOffset offset) {
    // Tiled stands the image's bottom middle on the object's point, then
    // moves it by the tileset's offset, which is made for tile layers: it
    // puts the anchor on the diamond's centre pixel of a cell's box. Here
    // the point is moved so the anchor lands there for cell (x, y) too,
    // `rise` pixels up. On screen a point (px, py) of the map's axes lies
    // (px - py) W / 2h across and (px + py) / 2 down.
    const double w = map.tile_width, h = map.tile_height;
    // Screen pixels right of the cell's middle, and below it.
    const double across = (tileset.tile_width - w) / 2.0 + offset.across;
    const double down = h / 2.0 - rise + offset.down;
    MapObject object;
    object.gid = gid;
    object.width = tileset.tile_width;
    object.height = tileset.tile_height;
    object.x = (x + 0.5) * h + down + across * h / w;
    object.y = (y + 0.5) * h + down - across * h / w;
    return object;
}
