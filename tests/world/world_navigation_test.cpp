// A world as a game walks it: Godot 3 (godot3-server) loads a world's own
// scene and asks its Navigation2D for paths between houses. Each path must
// keep to dry ground, change level only on a slope, and arrive; houses on
// islands apart get none. Its physics finds the coast's water side, the
// cliffs and the houses blocked, the land open; its TileSets tell each
// tile's facts as Tiled's do, and its TileMaps their level.
#include "app/render/world_run.hpp"
#include "generators/world/world_layout.hpp"

#include "../support/godot3_run.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <regex>
#include <set>
#include <sstream>

namespace {
namespace fs = std::filesystem;

constexpr int iso_width = 64, tile_height = 32;

struct Point {
    double x, y;
};

// Where the world's ground is, in Godot 3's frame (cell (0, 0)'s top corner
// at the origin, level L drawn L steps up): what a walker on it stands on.
class Ground {
public:
    explicit Ground(const WorldMap& map) : map_(map), step_(world_level_rise(1, map.levels, iso_width)) {}

    Point centre(int x, int y, int level) const {
        return {(x - y) * iso_width / 2.0, (x + y + 1) * tile_height / 2.0 - level * step_};
    }
    Point corner(int cx, int cy) const {
        return {(cx - cy) * iso_width / 2.0, (cx + cy) * tile_height / 2.0 - map_.corner(cx, cy).level * step_};
    }

    // The levels a walker at p may stand on: a dry flat cell of level L
    // gives L, a slope from L gives L and L + 1 (`bridge`).
    void levels_at(Point p, std::set<int>& flat, std::set<int>& bridge) const {
        for (int level = 0; level <= 8; ++level) {
            const double qy = p.y + level * step_;
            const double mx = p.x / iso_width + qy / tile_height, my = qy / tile_height - p.x / iso_width;
            const int x = static_cast<int>(std::floor(mx)), y = static_cast<int>(std::floor(my));
            if (inside(x, y) && map_.rise(x, y) == 0 && map_.corner(x, y).level == level && dry(x, y, mx - x, my - y))
                flat.insert(level);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (inside(x + dx, y + dy) && map_.rise(x + dx, y + dy) == 1 && on_slope(x + dx, y + dy, p))
                        bridge.insert(low_level(x + dx, y + dy));
        }
    }

private:
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < map_.width && y < map_.height; }
    int low_level(int x, int y) const {
        return std::min({map_.corner(x, y).level, map_.corner(x + 1, y).level, map_.corner(x + 1, y + 1).level,
                         map_.corner(x, y + 1).level});
    }
    // Wet: all four corners water, or within 0.3 cells of a water corner
    // (the coast's shapes keep walkers a third of a cell or more from one).
    bool dry(int x, int y, double u, double v) const {
        int wet = 0;
        for (const auto& [cu, cv] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
            if (!is_water(map_.corner(x + cu, y + cv).terrain)) continue;
            ++wet;
            if (std::hypot(u - cu, v - cv) < 0.3) return false;
        }
        return wet < 4;
    }
    bool on_slope(int x, int y, Point p) const {
        const Point q[4] = {corner(x, y), corner(x + 1, y), corner(x + 1, y + 1), corner(x, y + 1)};
        for (int k = 0; k < 4; ++k) {
            const Point a = q[k], b = q[(k + 1) % 4];
            if ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) < -1e-6) return false;
        }
        return true;
    }
    const WorldMap& map_;
    int step_;
};

// Why the path leaves the ground or jumps a level, or nothing when it walks
// from `from` (a level) to its end on level `to`.
std::string walk_problem(const Ground& ground, const std::vector<Point>& path, int from, int to) {
    std::set<int> on = {from};
    for (std::size_t k = 0; k + 1 < path.size(); ++k) {
        const Point a = path[k], b = path[k + 1];
        const int samples = std::max(1, static_cast<int>(std::hypot(b.x - a.x, b.y - a.y)));
        for (int s = 0; s <= samples; ++s) {
            const Point p{a.x + (b.x - a.x) * s / samples, a.y + (b.y - a.y) * s / samples};
            std::set<int> flat, bridge;
            for (const auto& [ex, ey] : {std::pair{0.0, 0.0}, {0.75, 0.0}, {-0.75, 0.0}, {0.0, 0.75}, {0.0, -0.75}})
                ground.levels_at({p.x + ex, p.y + ey}, flat, bridge);
            const std::string at = " at (" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
            if (flat.empty() && bridge.empty()) return "leaves dry ground" + at;
            std::set<int> next;
            for (const int level : flat)
                if (on.count(level)) next.insert(level);
            for (const int level : bridge)
                if (on.count(level) || on.count(level + 1)) next.insert({level, level + 1});
            if (next.empty()) return "changes level off a slope" + at;
            on = next;
        }
    }
    return on.count(to) ? "" : "ends off its level";
}

// Land corners joined by land edges: an island's.
std::vector<int> islands(const WorldMap& map) {
    const int w = map.width + 1, h = map.height + 1;
    std::vector<int> parent(static_cast<std::size_t>(w) * h);
    std::iota(parent.begin(), parent.end(), 0);
    std::function<int(int)> root = [&](int i) { return parent[i] == i ? i : parent[i] = root(parent[i]); };
    for (int cy = 0; cy < h; ++cy)
        for (int cx = 0; cx < w; ++cx) {
            if (is_water(map.corner(cx, cy).terrain)) continue;
            if (cx + 1 < w && !is_water(map.corner(cx + 1, cy).terrain))
                parent[root(cy * w + cx)] = root(cy * w + cx + 1);
            if (cy + 1 < h && !is_water(map.corner(cx, cy + 1).terrain))
                parent[root(cy * w + cx)] = root((cy + 1) * w + cx);
        }
    for (int i = 0; i < w * h; ++i) parent[i] = root(i);
    return parent;
}

const char* const paths_script = R"(extends SceneTree
var world
var frames = 0
var steps = 0
func _init():
	world = load("res://world.tscn").instance()
	get_root().add_child(world)
# The shapes reach the physics space's queries only after a physics step,
# and a loaded machine may draw several frames before the first one.
func _iteration(_delta):
	steps += 1
	return false
func _idle(_delta):
	frames += 1
	if frames < 3 or steps < 2:
		return false
	var pairs = File.new()
	pairs.open("res://pairs.txt", File.READ)
	while not pairs.eof_reached():
		var v = pairs.get_line().split_floats(" ")
		if v.size() == 4:
			var line = "path"
			for p in world.get_simple_path(Vector2(v[0], v[1]), Vector2(v[2], v[3])):
				line += " %f %f" % [p.x, p.y]
			print(line)
	for node in world.get_children():
		if node is TileMap:
			print("layer %s %d" % [node.name, node.get_meta("level")])
	var seen = {}
	for node in world.get_children():
		if node is TileMap and node.tile_set.has_meta("terrain"):
			var tiles = node.tile_set
			for c in node.get_used_cells():
				var id = node.get_cellv(c)
				if not seen.has(id):
					seen[id] = true
					print("fact %d %s %s %s %s." % [id, tiles.get_meta("walkable")[id], tiles.get_meta("terrain")[id], tiles.get_meta("water")[id], tiles.get_meta("slope")[id]])
	var space = world.get_world_2d().direct_space_state
	var points = File.new()
	points.open("res://points.txt", File.READ)
	while not points.eof_reached():
		var v = points.get_line().split_floats(" ")
		if v.size() == 2:
			print("hits %d" % space.intersect_point(Vector2(v[0], v[1])).size())
	quit()
	return true
)";

struct Walks {
    int arrived = 0, climbed = 0, apart = 0, blocked = 0, open = 0;
};

// Points whose collision is known, and whether something blocks there: on
// the coast's cells near each corner (blocked near water, open on land,
// away from cliffs, which may overlap them on screen), amid each cliff and
// on each house's cell.
std::vector<std::pair<Point, bool>> collision_points(const WorldMap& map) {
    const double step = world_level_rise(1, map.levels, iso_width);
    auto at = [&](double mx, double my, int level) {
        return Point{(mx - my) * iso_width / 2.0, (mx + my) * tile_height / 2.0 - level * step};
    };
    auto near_cliff = [&](int x, int y) {
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx) {
                const int cx = x + dx, cy = y + dy;
                if (cx >= 0 && cy >= 0 && cx < map.width && cy < map.height && map.rise(cx, cy) == 2) return true;
            }
        return false;
    };
    std::vector<std::pair<Point, bool>> out;
    for (const WorldObject& o : map.objects)
        if (o.kind == WorldObjectKind::house) out.push_back({at(o.x + 0.5, o.y + 0.5, o.level), true});
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            if (map.rise(x, y) == 2) {
                const int low = std::min({map.corner(x, y).level, map.corner(x + 1, y).level,
                                          map.corner(x + 1, y + 1).level, map.corner(x, y + 1).level});
                out.push_back({at(x + 0.5, y + 0.5, low), true});
                continue;
            }
            int water = 0;
            for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}})
                water += is_water(map.corner(x + dx, y + dy).terrain);
            if (water == 0 || water == 4 || map.rise(x, y) != 0 || near_cliff(x, y)) continue;
            for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}})
                out.push_back({at(x + dx + (0.5 - dx) * 0.24, y + dy + (0.5 - dy) * 0.24, 0),
                               is_water(map.corner(x + dx, y + dy).terrain)});
        }
    return out;
}

// Every pair of the world's houses (a few dozen at most), asked of Godot 3.
Walks walk_between_houses(const std::string& size, int width, int height, std::uint64_t seed) {
    Walks walks;
    const ScratchDir scratch("brannoc-world-paths-");
    const fs::path& dir = scratch.path();
    EXPECT_EQ(run_world_render({"--size", size, "--seed", std::to_string(seed), "--iso-width",
                                std::to_string(iso_width), "--out", dir.string()}),
              0);
    WorldRequest request;
    request.width = width, request.height = height, request.seed = seed;
    const WorldMap map = build_world_map(request, 0, 0, width, height);
    const Ground ground(map);
    const std::vector<int> island = islands(map);
    std::vector<WorldObject> houses;
    for (const WorldObject& o : map.objects)
        if (o.kind == WorldObjectKind::house && houses.size() < 8) houses.push_back(o);
    std::vector<std::pair<WorldObject, WorldObject>> pairs;
    std::ofstream list(dir / "godot3" / "pairs.txt");
    for (std::size_t a = 0; a < houses.size(); ++a)
        for (std::size_t b = a + 1; b < houses.size(); ++b) {
            pairs.emplace_back(houses[a], houses[b]);
            const Point p = ground.centre(houses[a].x, houses[a].y, houses[a].level),
                        q = ground.centre(houses[b].x, houses[b].y, houses[b].level);
            list << p.x << " " << p.y << " " << q.x << " " << q.y << "\n";
        }
    list.close();
    const std::vector<std::pair<Point, bool>> probes = collision_points(map);
    std::ofstream points(dir / "godot3" / "points.txt");
    for (const auto& [p, blocked] : probes) points << p.x << " " << p.y << "\n";
    points.close();
    std::ofstream(dir / "godot3" / "project.godot") << "config_version=4\n\n[application]\n\nconfig/name=\"paths\"\n";
    std::ofstream(dir / "godot3" / "paths.gd") << paths_script;
    const std::string godot =
        "cd '" + (dir / "godot3").string() + "' && HOME='" + dir.string() + "' timeout 120 godot3-server --path . ";
    EXPECT_EQ(import_godot3(dir / "godot3", dir), 0)
        << "godot3-server (Debian package godot3-server) must be installed";
    EXPECT_EQ(std::system((godot + "-s res://paths.gd >paths.log 2>&1").c_str()), 0);

    std::ifstream log(dir / "godot3" / "paths.log");
    std::size_t k = 0;
    // Tiled's facts of each tile, as "walkable terrain water slope.".
    const std::vector<std::uint8_t> tsx_bytes = read_file(dir / "world_tiles.tsx");
    const std::string tsx(tsx_bytes.begin(), tsx_bytes.end());
    std::map<int, std::string> facts;
    static const std::regex tile(R"re(<tile id="(\d+)">\s*<properties>([\s\S]*?)</properties>)re");
    static const std::regex property(R"re(<property name="(\w+)"(?: type="\w+")? value="([^"]*)"/>)re");
    for (std::sregex_iterator t(tsx.begin(), tsx.end(), tile), end; t != end; ++t) {
        const std::string body = (*t)[2];
        std::map<std::string, std::string> props;
        for (std::sregex_iterator p(body.begin(), body.end(), property), e; p != e; ++p) props[(*p)[1]] = (*p)[2];
        facts[std::stoi((*t)[1])] = std::string(props["walkable"] == "true" ? "True" : "False") + " " +
                                    props["terrain"] + " " + props["water"] + " " + props["slope"] + ".";
    }
    std::size_t probe = 0;
    int told = 0, layers = 0;
    for (std::string line; std::getline(log, line);) {
        if (line.rfind("layer ", 0) == 0) {
            const std::size_t space = line.rfind(' ');
            EXPECT_EQ(line.substr(6, space - 6).rfind("level" + line.substr(space + 1) + "_", 0), 0u) << line;
            ++layers;
        }
        if (line.rfind("fact ", 0) == 0) {
            const std::size_t space = line.find(' ', 5);
            const int id = std::stoi(line.substr(5, space - 5));
            EXPECT_EQ(line.substr(space + 1), facts[id]) << "Godot 3's tile " << id << " of seed " << seed;
            ++told;
        }
        if (line.rfind("hits ", 0) == 0 && probe < probes.size()) {
            const auto& [p, blocked] = probes[probe++];
            (blocked ? walks.blocked : walks.open)++;
            EXPECT_EQ(std::stoi(line.substr(5)) > 0, blocked) << "(" << p.x << ", " << p.y << ") of seed " << seed
                                                              << (blocked ? " lets a walker through" : " blocks");
        }
        if (line.rfind("path", 0) != 0) continue;
        if (k >= pairs.size()) break;
        const auto& [a, b] = pairs[k++];
        std::istringstream numbers(line.substr(4));
        std::vector<Point> path;
        for (Point p; numbers >> p.x >> p.y;) path.push_back(p);
        const Point goal = ground.centre(b.x, b.y, b.level);
        const bool arrives = !path.empty() && std::hypot(path.back().x - goal.x, path.back().y - goal.y) < 0.5;
        const std::string pair = "houses (" + std::to_string(a.x) + ", " + std::to_string(a.y) + ") and (" +
                                 std::to_string(b.x) + ", " + std::to_string(b.y) + ") of seed " + std::to_string(seed);
        if (island[a.y * (width + 1) + a.x] != island[b.y * (width + 1) + b.x]) {
            ++walks.apart;
            EXPECT_FALSE(arrives) << pair << " stand on islands apart, yet a path joins them";
            continue;
        }
        if (!arrives) continue;  // cliffs may part them
        ++walks.arrived;
        walks.climbed += a.level != b.level;
        EXPECT_EQ(walk_problem(ground, path, a.level, b.level), "") << pair << ": " << line;
    }
    EXPECT_EQ(k, pairs.size()) << "Godot 3 answered " << k << " of " << pairs.size() << " paths";
    EXPECT_GT(told, 10) << "Godot 3 told the facts of " << told << " tiles";
    EXPECT_GT(layers, 3) << "Godot 3 told the level of " << layers << " layers";
    EXPECT_EQ(probe, probes.size()) << "Godot 3 answered " << probe << " of " << probes.size() << " points";
    return walks;
}
}  // namespace

TEST(WorldNavigation,
     Godot3WalksBetweenHousesOnDryGroundClimbingBySlopesAndNeverBetweenIslandsAndTheCoastCliffsAndHousesBlock) {
    Walks all;
    for (const std::uint64_t seed : {22, 3}) {
        const Walks w = walk_between_houses("48x40", 48, 40, seed);
        all.arrived += w.arrived, all.climbed += w.climbed, all.apart += w.apart;
        all.blocked += w.blocked, all.open += w.open;
    }
    EXPECT_GT(all.arrived, 0);
    EXPECT_GT(all.climbed, 0);
    EXPECT_GT(all.apart, 0);
    EXPECT_GT(all.blocked, 50);
    EXPECT_GT(all.open, 50);
    std::printf("paths: %d arrived, %d between levels, %d pairs on islands apart; points: %d blocked, %d open\n",
                all.arrived, all.climbed, all.apart, all.blocked, all.open);
}
