#include "export/formats/world_file_names.hpp"

#include "export/formats/lighting_map_files.hpp"

std::vector<std::string> world_file_names(const std::string& stem) {
    std::vector<std::string> names = {stem + ".tmx", stem + ".png", stem + ".tscn", stem + "_godot3.tscn",
                                      world_manifest_name(stem)};
    Lighting every_map;
    every_map.normals = every_map.heights = every_map.lit = every_map.albedo = true;
    for (const char* sheet : {"_tiles", "_water", "_objects"}) {
        const std::string base = stem + sheet;
        for (const char* file : {".png", ".tsx", ".tres", "_godot3.tres"}) names.push_back(base + file);
        for (const std::string& suffix : lighting_map_suffixes(every_map))
            names.push_back(lighting_map_file_name(base + ".png", suffix));
    }
    return names;
}
