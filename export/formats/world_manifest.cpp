#include "export/formats/world_manifest.hpp"

#include "canvas/content_hash.hpp"
#include "export/run_options.hpp"

#include <nlohmann/json.hpp>

namespace {
using json = nlohmann::json;

const char* key_kind(WorldTileKey::Kind kind) {
    switch (kind) {
        case WorldTileKey::Kind::fill: return "fill";
        case WorldTileKey::Kind::over: return "over";
        case WorldTileKey::Kind::slope: return "slope";
        case WorldTileKey::Kind::cliff: return "cliff";
    }
    return "";
}
}  // namespace

std::string world_manifest(const RenderSettings& run, const WorldChunk& chunk, const WorldMap& map,
                           const WorldLayout& layout, const std::vector<const WorldSheet*>& sheets,
                           const std::vector<std::pair<std::string, std::string>>& files, int tile_height) {
    json m;
    m["seed"] = run.seed;
    m["size"] = {run.world_shape.width, run.world_shape.height};
    m["chunk"] = {{"index", chunk.index}, {"of", chunk.count}, {"columns", chunk.columns}, {"rows", chunk.rows},
                  {"x", chunk.x0},        {"y", chunk.y0},     {"width", chunk.width},     {"height", chunk.height}};
    m["settings"] = settings_block(run);
    m["map"] = chunk.stem + ".tmx";
    m["tile_size"] = {run.iso_width, tile_height};

    json counts = {{"fill", 0}, {"over", 0}, {"slope", 0}, {"cliff", 0}};
    for (const WorldTileKey& key : layout.tiles) counts[key_kind(key.kind)] = counts[key_kind(key.kind)].get<int>() + 1;
    m["tile_counts"] = counts;
    json layers = json::array();
    for (const WorldLayer& layer : layout.layers) {
        int placed = 0;
        for (const int t : layer.cells) placed += t >= 0;
        layers.push_back({{"name", layer.name}, {"level", layer.level}, {"cells", placed}});
    }
    m["layers"] = layers;

    json tilesets = json::array();
    for (const WorldSheet* sheet : sheets) {
        json tiles = json::array();
        for (std::size_t k = 0; k < sheet->tiles.size(); ++k) {
            json tile = {{"id", static_cast<int>(k) * sheet->frames}, {"name", sheet->tile_names[k]}};
            if (!sheet->corners.empty()) tile["corners"] = sheet->corners[k];
            tile["drawn"] = sheet->tiles[k].drawn;
            if (k < sheet->finishes.size() && !sheet->finishes[k].empty()) tile["finish"] = sheet->finishes[k];
            tiles.push_back(std::move(tile));
        }
        tilesets.push_back({{"image", sheet->image_file()},
                            {"tileset", sheet->tileset_file()},
                            {"frames", sheet->frames},
                            {"tiles", std::move(tiles)}});
    }
    m["tilesets"] = tilesets;

    json objects = json::array();
    json object_counts = json::object();
    for (const WorldObject& o : map.objects) {
        const char* name = world_object_name(o.kind);
        objects.push_back(
            {{"kind", name}, {"look", o.look}, {"x", o.x}, {"y", o.y}, {"at", {o.at_x, o.at_y}}, {"level", o.level}});
        object_counts[name] = object_counts.value(name, 0) + 1;
    }
    m["object_counts"] = object_counts;
    m["objects"] = objects;

    json written = json::object();
    for (const auto& [name, bytes] : files)
        written[name] = {{"bytes", bytes.size()}, {"fnv1a64", content_hash_hex(bytes.data(), bytes.size())}};
    m["files"] = written;
    m["complete"] = true;
    return m.dump(1) + "\n";
}
