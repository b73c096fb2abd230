#include "export/formats/world_file_names.hpp"

#include "export/formats/lighting_map_files.hpp"

std::vector<std::string> world_file_names(const std::string& stem) {
    // Godot 3's files as older worlds laid them beside the rest come last:
    // a world of the name written now removes them.
    std::vector<std::string> names = {stem + ".tmx", stem + ".png", stem + ".tscn", world_godot3_path(stem + ".tscn"),
                                      world_manifest_name(stem)};
    Lighting every_map;
    every_map.normals = every_map.heights = every_map.lit = every_map.albedo = true;
    for (const char* sheet : {"_tiles", "_water", "_objects", "_mountains"}) {
        const std::string base = stem + sheet;
        for (const char* file : {".png", ".tsx", ".tres"}) names.push_back(base + file);
        for (const std::string& suffix : lighting_map_suffixes(every_map))
            names.push_back(lighting_map_file_name(base + ".png", suffix));
        for (const std::string& file : {base + ".tres", base + ".png", base + "_n.png"})
            names.push_back(world_godot3_path(file));
    }
    names.push_back(stem + "_godot3.tscn");
    for (const char* sheet : {"_tiles", "_water", "_objects", "_mountains"}) names.push_back(stem + sheet + "_godot3.tres");
    return names;
}
