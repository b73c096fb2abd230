#include "export/world/world_gameplay.hpp"

#include "generators/common/road_track.hpp"

#include <algorithm>

namespace {
// The diamond's corners in the corner bits' order: top, right, bottom, left.
std::array<GameplayPoint, 4> corners_of(const CellGeometry& c) {
    return {{{0, -c.height / 2}, {c.width / 2, 0}, {0, c.height / 2}, {-c.width / 2, 0}}};
}

GameplayPoint midpoint(const GameplayPoint& a, const GameplayPoint& b) {
    return {(a[0] + b[0]) / 2, (a[1] + b[1]) / 2};
}

bool saddle(int mask) { return mask == 5 || mask == 10; }

// The part of the diamond nearer the corners in `mask` than the others,
// cut through the midpoints of the edges whose corners differ, clockwise on
// screen (turned at the end). A saddle's two corners join across the
// middle when `joined`, else stand apart as two triangles; the mask and its
// complement, one joined and one apart, share the diamond.
std::vector<GameplayPolygon> corner_region(int mask, bool joined, const CellGeometry& cell) {
    const auto c = corners_of(cell);
    if (saddle(mask) && !joined) {
        std::vector<GameplayPolygon> out;
        for (int k = 0; k < 4; ++k)
            if (mask & 1 << k) out.push_back({midpoint(c[(k + 3) % 4], c[k]), c[k], midpoint(c[k], c[(k + 1) % 4])});
        return out;
    }
    GameplayPolygon polygon;
    for (int k = 0; k < 4; ++k) {
        const bool in = mask & 1 << k, next = mask & 1 << ((k + 1) % 4);
        if (in) polygon.push_back(c[k]);
        if (in != next) polygon.push_back(midpoint(c[k], c[(k + 1) % 4]));
    }
    if (polygon.empty()) return {};
    return {polygon};
}

// The diamond with the corners in `mask` one level up.
GameplayPolygon raised_diamond(int mask, const CellGeometry& cell) {
    GameplayPolygon out;
    const auto c = corners_of(cell);
    for (int k = 0; k < 4; ++k) out.push_back({c[k][0], c[k][1] - ((mask & 1 << k) ? cell.step : 0)});
    return out;
}

// A cliff's drawn shape: its raised top and, below each front edge (right
// to bottom, bottom to left) that rises, the face down to the level below.
std::vector<GameplayPolygon> cliff_shape(int mask, const CellGeometry& cell) {
    std::vector<GameplayPolygon> out{raised_diamond(mask, cell)};
    const auto c = corners_of(cell);
    for (const auto& [a, b] : {std::pair{1, 2}, std::pair{2, 3}}) {
        const bool up_a = mask & 1 << a, up_b = mask & 1 << b;
        if (!up_a && !up_b) continue;
        GameplayPolygon face;  // clockwise: down the edge's near end, along its foot, up its far end
        if (up_a) face.push_back({c[a][0], c[a][1] - cell.step});
        face.push_back(c[a]);
        face.push_back(c[b]);
        if (up_b) face.push_back({c[b][0], c[b][1] - cell.step});
        out.push_back(face);
    }
    return out;
}

// Uphill on screen: towards the raised corners, or away from the one left
// low; a saddle rises towards two opposite corners.
std::string uphill(int mask) {
    static const char* const names[16] = {
        "",     "north",      "east",   "north_east", "south",      "saddle", "south_east", "east",
        "west", "north_west", "saddle", "north",      "south_west", "west",   "south",      ""};
    return names[mask & 15];
}

// Godot 3 finds a point inside a navigation polygon only when it winds
// counter-clockwise on screen; every shape winds so.
void counter_clockwise(WorldTileFacts& f) {
    for (auto* polygons : {&f.navigation, &f.collision})
        for (GameplayPolygon& polygon : *polygons) std::reverse(polygon.begin(), polygon.end());
}
}  // namespace

WorldTileFacts world_tile_facts(const WorldTileKey& key, const CellGeometry& cell) {
    WorldTileFacts f;
    f.terrain = world_terrain_name(key.terrain);
    f.water = key.terrain == WorldTerrain::deep_water ? "deep"
              : key.terrain == WorldTerrain::water    ? "shallow"
                                                      : "none";
    f.walkable = !is_water(key.terrain);
    switch (key.kind) {
        case WorldTileKey::Kind::fill:
            if (f.walkable) f.navigation = corner_region(15, true, cell);
            break;
        case WorldTileKey::Kind::over:
            // Only the shore over water parts land from water: the land
            // over it lies on ground that already has its shape.
            if (key.terrain == WorldTerrain::shore) {
                f.navigation = corner_region(key.mask, true, cell);
                f.collision = corner_region(~key.mask & 15, false, cell);
            }
            break;
        case WorldTileKey::Kind::slope:
            f.slope = uphill(key.mask);
            // The bottom of the cell's stack carries it: a terrain laid over
            // it lies on ground that already has its shape.
            if (key.ground == 15) f.navigation = {raised_diamond(key.mask, cell)};
            break;
        case WorldTileKey::Kind::cliff:
            f.walkable = false;
            f.collision = cliff_shape(key.mask, {cell.width, cell.height, cell.cliff_step, cell.cliff_step});
            break;
        // Rapids and falls stand in for their slope and cliff, and keep
        // their shapes; a flat river's ground keeps the shapes below it.
        case WorldTileKey::Kind::rapids:
            f.slope = uphill(key.mask);
            f.navigation = {raised_diamond(key.mask, cell)};
            break;
        case WorldTileKey::Kind::fall:
            f.walkable = false;
            f.collision = cliff_shape(key.mask, {cell.width, cell.height, cell.cliff_step, cell.cliff_step});
            break;
        // A road, or a bridge over a river, lies on ground that has its
        // shapes already.
        case WorldTileKey::Kind::road:
            f.road = true;
            if (RoadTrack::unpacked(static_cast<std::uint8_t>(key.channel)).bridge) f.water = "shallow";
            break;
        case WorldTileKey::Kind::river:
            f.walkable = false;
            f.water = "shallow";
            break;
    }
    counter_clockwise(f);
    return f;
}

WorldTileFacts world_object_facts(WorldObjectKind kind, const CellGeometry& cell) {
    WorldTileFacts f;
    f.walkable = kind != WorldObjectKind::house;
    if (!f.walkable) f.collision = corner_region(15, true, cell);
    counter_clockwise(f);
    return f;
}

std::vector<WorldTileFacts> world_sheet_facts(const std::vector<WorldTileKey>& keys,
                                              const std::vector<WorldObjectKind>& kinds, const CellGeometry& cell) {
    std::vector<WorldTileFacts> out;
    for (const WorldTileKey& key : keys) out.push_back(world_tile_facts(key, cell));
    for (const WorldObjectKind kind : kinds) out.push_back(world_object_facts(kind, cell));
    return out;
}
