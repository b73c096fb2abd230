#include "export/formats/world_manifest.hpp"

#include "canvas/content_hash.hpp"
#include "export/run_options.hpp"

#include <nlohmann/json.hpp>

#include <map>

namespace {
using json = nlohmann::json;

const char* key_kind(WorldTileKey::Kind kind) {
    switch (kind) {
        case WorldTileKey::Kind::fill: return "fill";
        case WorldTileKey::Kind::over: return "over";
        case WorldTileKey::Kind::slope: return "slope";
        case WorldTileKey::Kind::cliff: return "cliff";
        case WorldTileKey::Kind::river: return "river";
        case WorldTileKey::Kind::rapids: return "rapids";
        case WorldTileKey::Kind::fall: return "waterfall";
        case WorldTileKey::Kind::road: return "road";
    }
    return "";
}
json cell_list(const std::vector<std::array<int, 2>>& cells) {
    json list = json::array();
    for (const auto& [x, y] : cells) list.push_back({x, y});
    return list;
}

// The whole world's rivers, each from its source to its mouth, with the
// way its water runs on each cell (as the edge it leaves by), and lakes.
json world_rivers_json(const WorldMap& map) {
    json rivers = json::array();
    for (const WorldRiver& r : map.rivers) {
        json flows = json::array();
        for (std::size_t k = 0; k + 1 < r.cells.size(); ++k) {
            const int dx = r.cells[k + 1][0] - r.cells[k][0], dy = r.cells[k + 1][1] - r.cells[k][1];
            flows.push_back(dx > 0 ? "se" : dx < 0 ? "nw" : dy > 0 ? "sw" : "ne");
        }
        json river = {{"cells", cell_list(r.cells)}, {"flows", flows}, {"mouth", r.into_lake ? "lake" : "sea"}};
        if (r.joins >= 0) river["joins"] = r.joins;
        rivers.push_back(std::move(river));
    }
    return rivers;
}

json world_lakes_json(const WorldMap& map) {
    json lakes = json::array();
    for (const WorldLake& l : map.lakes) lakes.push_back({{"level", l.level}, {"cells", cell_list(l.cells)}});
    return lakes;
}

// Where a layer's cells go in the text: a mark the manifest's own strings
// never hold, replaced by its rows, each on a line of its own (the JSON
// writer would give every cell a line).
std::string cells_mark(std::size_t layer) { return "\"#cells " + std::to_string(layer) + "#\""; }

std::string cell_rows(const MapTileLayer& layer, int width) {
    std::string rows = "[";
    const std::size_t w = static_cast<std::size_t>(width);
    for (std::size_t at = 0; at < layer.gids.size(); at += w) {
        rows += at == 0 ? "\n    [" : ",\n    [";
        for (std::size_t x = 0; x < w && at + x < layer.gids.size(); ++x)
            rows += (x == 0 ? "" : ",") + std::to_string(layer.gids[at + x]);
        rows += "]";
    }
    return rows + "\n   ]";
}

const char* const complete_line = "\n \"complete\": true,";
}  // namespace

std::string world_manifest(const RenderSettings& run, const WorldChunk& chunk, const WorldMap& map,
                           const WorldLayout& layout, const std::vector<const WorldSheet*>& sheets,
                           const MapModel& model, const std::vector<std::uint32_t>& object_gids,
                           const std::vector<std::pair<std::string, std::string>>& files,
                           const std::vector<StreamedFile>& streamed) {
    json m;
    m["seed"] = run.seed;
    m["size"] = {run.world_shape.width, run.world_shape.height};
    m["chunk"] = {{"index", chunk.index}, {"of", chunk.count}, {"columns", chunk.columns}, {"rows", chunk.rows},
                  {"x", chunk.x0},        {"y", chunk.y0},     {"width", chunk.width},     {"height", chunk.height}};
    m["settings"] = settings_block(run);
    m["map"] = chunk.stem + ".tmx";
    m["tile_size"] = {run.iso_width, model.tile_height};

    // A world without rivers says nothing of them.
    const bool rivers = run.world_shape.rivers > 0;
    json counts = {{"fill", 0}, {"over", 0}, {"slope", 0}, {"cliff", 0}};
    if (rivers) counts.update(json{{"river", 0}, {"rapids", 0}, {"waterfall", 0}});
    if (run.world_shape.settlements > 0) counts["road"] = 0;
    for (const WorldTileKey& key : layout.tiles) counts[key_kind(key.kind)] = counts[key_kind(key.kind)].get<int>() + 1;
    m["tile_counts"] = counts;
    // The tile layers come first in the map, in the layout's order.
    std::vector<const MapTileLayer*> tile_layers;
    for (const auto& any : model.layers)
        if (const auto* layer = std::get_if<MapTileLayer>(&any)) tile_layers.push_back(layer);
    json layers = json::array();
    for (std::size_t k = 0; k < layout.layers.size() && k < tile_layers.size(); ++k) {
        int placed = 0;
        for (const int t : layout.layers[k].cells) placed += t >= 0;
        layers.push_back({{"name", layout.layers[k].name},
                          {"level", layout.layers[k].level},
                          {"offset_y", tile_layers[k]->offset_y},
                          {"placed", placed},
                          {"cells", cells_mark(k).substr(1, cells_mark(k).size() - 2)}});
    }
    m["layers"] = layers;

    json tilesets = json::array();
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        const WorldSheet* sheet = sheets[s];
        json tiles = json::array();
        for (std::size_t k = 0; k < sheet->tiles.size(); ++k) {
            json tile = {{"id", static_cast<int>(k) * sheet->frames}, {"name", sheet->tile_names[k]}};
            if (!sheet->corners.empty()) tile["corners"] = sheet->corners[k];
            tile["drawn"] = sheet->tiles[k].drawn;
            if (k < sheet->finishes.size() && !sheet->finishes[k].empty()) tile["finish"] = sheet->finishes[k];
            if (k < sheet->facts.size()) {  // what a game needs of it, as its tilesets say
                const WorldTileFacts& f = sheet->facts[k];
                tile["walkable"] = f.walkable;
                if (!f.terrain.empty()) tile["terrain"] = f.terrain, tile["water"] = f.water;
                if (!f.slope.empty()) tile["slope"] = f.slope;
                if (f.road) tile["road"] = true;
            }
            tiles.push_back(std::move(tile));
        }
        tilesets.push_back({{"image", sheet->image_file()},
                            {"tileset", sheet->tileset_file()},
                            {"firstgid", s < model.tilesets.size() ? model.tilesets[s].first_gid : 0},
                            {"frames", sheet->frames},
                            {"tiles", std::move(tiles)}});
    }
    m["tilesets"] = tilesets;

    json objects = json::array();
    json object_counts = json::object();
    for (std::size_t k = 0; k < map.objects.size(); ++k) {
        const WorldObject& o = map.objects[k];
        const char* name = world_object_name(o.kind);
        objects.push_back({{"kind", name},
                           {"look", o.look},
                           {"x", o.x},
                           {"y", o.y},
                           {"at", {o.at_x, o.at_y}},
                           {"cell", {o.x - chunk.x0, o.y - chunk.y0}},
                           {"level", o.level},
                           {"gid", k < object_gids.size() ? object_gids[k] : 0}});
        object_counts[name] = object_counts.value(name, 0) + 1;
    }
    m["object_counts"] = object_counts;
    m["objects"] = objects;
    if (rivers) {
        m["rivers"] = world_rivers_json(map);
        m["lakes"] = world_lakes_json(map);
    }
    if (run.world_shape.settlements > 0) {
        // The whole world's settlements, each house by its cell and, where
        // this map holds it, its index in "objects"; and its roads.
        std::map<std::pair<int, int>, int> house_objects;
        for (std::size_t k = 0; k < map.objects.size(); ++k)
            if (map.objects[k].kind == WorldObjectKind::house)
                house_objects[{map.objects[k].x, map.objects[k].y}] = static_cast<int>(k);
        json settlements = json::array();
        for (const WorldSettlement& s : map.settlements) {
            json houses = json::array();
            for (const auto& [x, y] : s.houses) {
                json house = {{"x", x}, {"y", y}};
                if (const auto found = house_objects.find({x, y}); found != house_objects.end())
                    house["object"] = found->second;
                houses.push_back(std::move(house));
            }
            settlements.push_back({{"centre", {s.centre[0], s.centre[1]}}, {"houses", std::move(houses)}});
        }
        json roads = json::array();
        for (const WorldRoad& r : map.roads) roads.push_back({{"cells", cell_list(r.cells)}, {"bridges", cell_list(r.bridges)}});
        m["settlements"] = std::move(settlements);
        m["roads"] = std::move(roads);
    }

    json written = json::object();
    for (const auto& [name, bytes] : files)
        written[name] = {{"bytes", bytes.size()}, {"fnv1a64", content_hash_hex(bytes.data(), bytes.size())}};
    for (const StreamedFile& file : streamed) written[file.name] = {{"bytes", file.bytes}, {"fnv1a64", file.fnv1a64}};
    m["files"] = written;
    m["complete"] = true;
    std::string text = m.dump(1) + "\n";
    for (std::size_t k = 0; k < layout.layers.size() && k < tile_layers.size(); ++k) {
        const std::string mark = cells_mark(k);
        if (const std::size_t at = text.find(mark); at != std::string::npos)
            text.replace(at, mark.size(), cell_rows(*tile_layers[k], model.width));
    }
    return text;
}

std::string world_manifest_not_complete(const std::string& text, const std::string& why) {
    const std::size_t at = text.find(complete_line);
    if (at == std::string::npos) return {};
    std::string replaced = "\n \"complete\": false,";
    if (!why.empty()) replaced += "\n \"stale\": " + json(why).dump() + ",";
    std::string out = text;
    out.replace(at, std::string(complete_line).size(), replaced);
    return out;
}
