#include "export/formats/world_file.hpp"

#include <nlohmann/json.hpp>

namespace {
// Twice the chunk's place, so odd tile sizes stay whole.
struct DoublePlace {
    long long x2 = 0, y2 = 0;
};
DoublePlace double_place(const WorldChunkMap& c, int world_height, int tile_width, int tile_height) {
    return {static_cast<long long>(c.x0 - c.y0 + world_height - c.height) * tile_width,
            static_cast<long long>(c.x0 + c.y0) * tile_height};
}
}  // namespace

Problem tiled_world_problem(const std::vector<WorldChunkMap>& chunks, int world_width, int world_height, int tile_width,
                            int tile_height) {
    for (const WorldChunkMap& c : chunks) {
        const std::string name = "chunk \"" + c.file + "\"";
        if (c.width < 1 || c.height < 1 || c.x0 < 0 || c.y0 < 0 || c.x0 + c.width > world_width ||
            c.y0 + c.height > world_height)
            return name + " (" + std::to_string(c.width) + " x " + std::to_string(c.height) + " cells from (" +
                   std::to_string(c.x0) + ", " + std::to_string(c.y0) + ")) lies outside the " +
                   std::to_string(world_width) + " x " + std::to_string(world_height) + " world";
        const DoublePlace p = double_place(c, world_height, tile_width, tile_height);
        if (p.x2 % 2 != 0 || p.y2 % 2 != 0)
            return name + " would start half a pixel off a whole one: with tiles " + std::to_string(tile_width) +
                   " x " + std::to_string(tile_height) + ", chunks need an even number of cells a side";
    }
    return std::nullopt;
}

std::string tiled_world(const std::vector<WorldChunkMap>& chunks, int world_height, int tile_width, int tile_height) {
    nlohmann::ordered_json maps = nlohmann::ordered_json::array();
    for (const WorldChunkMap& c : chunks) {
        const DoublePlace p = double_place(c, world_height, tile_width, tile_height);
        const long long cells = static_cast<long long>(c.width) + c.height;
        maps.push_back({{"fileName", c.file},
                        {"height", cells * tile_height / 2},
                        {"width", cells * tile_width / 2},
                        {"x", p.x2 / 2},
                        {"y", p.y2 / 2}});
    }
    const nlohmann::ordered_json world = {{"maps", maps}, {"onlyShowAdjacentMaps", false}, {"type", "world"}};
    return world.dump(4) + "\n";
}
