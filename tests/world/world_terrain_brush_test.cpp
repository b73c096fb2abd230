// The world's terrain sets as the editors use them: Tiled's terrain brush
// (its corner brush and Wang filler, ported rule for rule from Tiled 1.8's
// wangbrush.cpp and wangfiller.cpp, corrections on as the brush runs it)
// painting over world_tiles.tsx, and Godot 4's TileSet holding the same sets
// by its loader's rules.
#include "app/render/command_line.hpp"
#include "app/render/world_run.hpp"

#include "../support/godot_text.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <regex>
#include <set>

namespace {
namespace fs = std::filesystem;

// A Wang id: Tiled's eight slots clockwise from the top edge; corner c
// (0 top-right, 1 bottom-right, 2 bottom-left, 3 top-left) is slot 2c + 1.
using Wang = std::array<int, 8>;
constexpr int slot_of_corner(int c) { return 2 * c + 1; }
constexpr std::array<std::pair<int, int>, 8> around = {
    {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}}};

struct TsxWangSet {
    std::string name;
    int colours = 0;
    std::map<int, Wang> tiles;  // tile id -> its Wang id
};

struct Tsx {
    std::map<int, std::string> names;  // tile id -> its "name" property
    std::vector<TsxWangSet> sets;
};

Tsx read_tsx(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    const std::string text(bytes.begin(), bytes.end());
    Tsx tsx;
    static const std::regex tile("<tile id=\"(\\d+)\">\\s*<properties>\\s*<property name=\"name\" value=\"([^\"]*)\"");
    for (std::sregex_iterator it(text.begin(), text.end(), tile), end; it != end; ++it)
        tsx.names[std::stoi((*it)[1])] = (*it)[2];
    static const std::regex set("<wangset name=\"([^\"]*)\"[^>]*>([\\s\\S]*?)</wangset>");
    static const std::regex wangtile("<wangtile tileid=\"(\\d+)\" wangid=\"([\\d,]+)\"");
    for (std::sregex_iterator it(text.begin(), text.end(), set), end; it != end; ++it) {
        TsxWangSet s{(*it)[1], 0, {}};
        const std::string body = (*it)[2];
        for (std::size_t at = body.find("<wangcolor"); at != std::string::npos; at = body.find("<wangcolor", at + 1))
            ++s.colours;
        for (std::sregex_iterator t(body.begin(), body.end(), wangtile), e; t != e; ++t) {
            Wang w{};
            std::istringstream ids((*t)[2]);
            for (int& v : w) {
                ids >> v;
                ids.ignore();
            }
            s.tiles[std::stoi((*t)[1])] = w;
        }
        tsx.sets.push_back(std::move(s));
    }
    return tsx;
}

// One layer of w x h cells painted with one Wang set as Tiled's terrain brush paints it.
class TerrainBrush {
public:
    TerrainBrush(const TsxWangSet& set, int w, int h) : set_(set), w_(w), h_(h), cells(w * h, -1) {
        // WangSet::recalculateColorDistances, for a corner set.
        const int n = set.colours;
        distance_.assign(n + 1, std::vector<int>(n + 1, -1));
        for (int i = 1; i <= n; ++i) {
            for (const auto& [id, wang] : set.tiles)
                if (std::any_of(std::begin(corners), std::end(corners), [&](int c) { return wang[c] == i; }))
                    for (const int c : corners) distance_[i][wang[c]] = 1;
            distance_[i][i] = 0;
        }
        for (bool again = true; again;) {
            again = false;
            for (int i = 1; i <= n; ++i)
                for (int j = 1; j <= n; ++j)
                    for (int t = 0; t <= n && i != j; ++t) {
                        const int d0 = distance_[i][t], d1 = distance_[j][t], d = distance_[i][j];
                        if (d0 < 0 || d1 < 0 || (d >= 0 && d0 + d1 >= d)) continue;
                        distance_[i][j] = distance_[j][i] = d0 + d1;
                        farthest_ = std::max(farthest_, d0 + d1);
                        again = true;
                    }
        }
    }

    // One stroke painting `colour` on vertices (x, y), each the top-left
    // corner of cell (x, y). Every tile Tiled could pick at random is
    // offered to `check` (tile -1: the cell emptied).
    template <class Check>
    void paint(const std::vector<std::pair<int, int>>& vertices, int colour, Check check) {
        std::map<int, Info> grid;  // by cell index; cells off the map are dropped
        std::set<int> region;
        for (const auto& [vx, vy] : vertices) {
            // WangBrush::updateBrushAt, corner mode.
            const std::pair<int, int> cells_round[4] = {{vx, vy - 1}, {vx, vy}, {vx - 1, vy}, {vx - 1, vy - 1}};
            for (int i = 0; i < 4; ++i) {
                const auto [x, y] = cells_round[i];
                if (!on_map(x, y)) continue;
                Info& info = grid[y * w_ + x];
                info.desired[slot_of_corner((i + 2) % 4)] = colour;
                info.mask[slot_of_corner((i + 2) % 4)] = 1;
                region.insert(y * w_ + x);
            }
        }
        // WangFiller::fillRegion: what is not painted stays as it is...
        for (const int cell : region) {
            Info& info = grid[cell];
            for (int i = 0; i < 8; ++i)
                if (!info.mask[i]) info.desired[i] = wang_of(cells[cell])[i];
        }
        int x0 = w_, y0 = h_, x1 = -1, y1 = -1;
        for (const int cell : region)
            x0 = std::min(x0, cell % w_), y0 = std::min(y0, cell / w_), x1 = std::max(x1, cell % w_),
            y1 = std::max(y1, cell / w_);
        x0 -= farthest_, y0 -= farthest_, x1 += farthest_, y1 += farthest_;
        std::map<int, int> placed;  // the stamp
        std::vector<int> corrections;
        const auto resolve = [&](int cell) {
            if (placed.count(cell)) return;
            const std::vector<int> best = best_matches(grid[cell]);
            if (best.empty()) return;  // Tiled leaves the cell
            for (const int tile : best) check(cell, tile);
            placed[cell] = best.front();
            const Wang wang = wang_of(best.front());
            for (int i = 0; i < 8; ++i) {
                const int x = cell % w_ + around[i].first, y = cell / w_ + around[i].second, p = y * w_ + x;
                if (!on_map(x, y) || placed.count(p)) continue;
                Info adjacent = grid[p];
                update_to_adjacent(adjacent, wang, (i + 4) % 8);
                // Edge neighbours outside the stroke that no longer fit are redone.
                if (i % 2 == 0 && x >= x0 && x <= x1 && y >= y0 && y <= y1 && !region.count(p)) {
                    const Wang current = wang_of(cells[p]);
                    bool fits = true;
                    for (int s = 0; s < 8; ++s) fits = fits && (!adjacent.mask[s] || current[s] == adjacent.desired[s]);
                    if (!fits) {
                        corrections.push_back(p);
                        for (int s = 0; s < 8; ++s)
                            if (!adjacent.mask[s]) adjacent.desired[s] = current[s];
                    }
                }
                grid[p] = adjacent;
            }
        };
        for (const int cell : region) resolve(cell);
        while (!corrections.empty()) {
            const std::vector<int> batch = std::move(corrections);
            corrections.clear();
            for (const int cell : batch) resolve(cell);
        }
        for (const auto& [cell, tile] : placed) cells[cell] = tile;
    }

private:
    static constexpr int corners[4] = {1, 3, 5, 7};  // the corner slots

    struct Info {
        Wang desired{}, mask{};
    };

    bool on_map(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    Wang wang_of(int tile) const { return tile < 0 ? Wang{} : set_.tiles.at(tile); }

    static void update_to_adjacent(Info& info, const Wang& adjacent, int position) {
        const int from = (position + 4) % 8;
        info.desired[position] = adjacent[from], info.mask[position] = 1;
        if (position % 2 == 0) {  // an edge: its two corners too
            info.desired[(position + 1) % 8] = adjacent[(from + 7) % 8], info.mask[(position + 1) % 8] = 1;
            info.desired[(position + 7) % 8] = adjacent[(from + 1) % 8], info.mask[(position + 7) % 8] = 1;
        }
    }

    int penalty(int desired, int candidate) const {
        if (desired == 0 && candidate == 0) return 0;
        return desired == 0 ? distance_[candidate][0] : distance_[desired][candidate];
    }

    // WangFiller::findBestMatch with corrections: the lowest penalty's candidates, the empty cell among them.
    std::vector<int> best_matches(const Info& info) const {
        std::vector<int> best;
        int lowest = INT_MAX;
        const auto consider = [&](int tile, const Wang& wang) {
            int total = 0;
            for (int s = 0; s < 8; ++s) {
                if (info.mask[s] && wang[s] != info.desired[s]) return;
                if (wang[s] == info.desired[s]) continue;
                const int p = penalty(info.desired[s], wang[s]);
                if (p < 0) return;
                total += p;
            }
            if (total < lowest) best.clear(), lowest = total;
            if (total == lowest) best.push_back(tile);
        };
        for (const auto& [tile, wang] : set_.tiles) consider(tile, wang);
        consider(-1, Wang{});
        return best;
    }

    const TsxWangSet& set_;
    int w_, h_;
    std::vector<std::vector<int>> distance_;
    int farthest_ = 1;

public:
    std::vector<int> cells;  // tile id, or -1 for none
};

std::vector<std::pair<int, int>> vertices(int from, int to) {
    std::vector<std::pair<int, int>> out;
    for (int y = from; y <= to; ++y)
        for (int x = from; x <= to; ++x) out.emplace_back(x, y);
    return out;
}

// The tilesets of a world with slopes, cliffs and every over tile of a
// temperate coast, drawn once for the tests: the .tsx, the sheet's columns
// and the Godot 4 TileSet's lines.
struct WorldTilesets {
    Tsx tsx;
    int columns = 0;
    std::vector<std::string> tres;
};
const WorldTilesets& world_tilesets() {
    static const WorldTilesets drawn = [] {
        const ScratchDir dir("brannoc-terrain-brush-");
        const std::string out = dir.path().string();
        const char* argv[] = {"world",       "--size", "20x16", "--seed",    "21",
                              "--iso-width", "64",     "--out", out.c_str(), "--quiet"};
        const ParsedCommandLine parsed = parse_render_command_line(10, argv, true);
        EXPECT_TRUE(parsed.settings && run_world(*parsed.settings, stderr) == 0);
        WorldTilesets sets;
        sets.tsx = read_tsx(dir.path() / "world_tiles.tsx");
        const std::vector<std::uint8_t> tsx = read_file(dir.path() / "world_tiles.tsx");
        std::smatch m;
        const std::string text(tsx.begin(), tsx.end());
        if (std::regex_search(text, m, std::regex("columns=\"(\\d+)\""))) sets.columns = std::stoi(m[1]);
        const std::vector<std::uint8_t> tres = read_file(dir.path() / "world_tiles.tres");
        std::istringstream lines(std::string(tres.begin(), tres.end()));
        for (std::string line; std::getline(lines, line);) sets.tres.push_back(line);
        return sets;
    }();
    return drawn;
}

const TsxWangSet& set_named(const Tsx& tsx, const std::string& name) {
    for (const TsxWangSet& s : tsx.sets)
        if (s.name == name) return s;
    throw std::runtime_error("no wang set " + name);
}
}  // namespace

// Painting a terrain on a layer lays its own fills and nothing else: no
// slope or cliff of the same ground, no over tile with a clear side, even
// where a second terrain is painted into the first.
TEST(WorldTerrainBrush, PaintingATerrainLaysThatTerrainsFillsOnly) {
    const Tsx& tsx = world_tilesets().tsx;
    const TsxWangSet& terrains = set_named(tsx, "terrains");
    const std::regex fill("(\\S+) variant \\d+");
    std::vector<std::string> painted;
    for (const auto& [tile, wang] : terrains.tiles) {
        const std::string& name = tsx.names.at(tile);
        painted.push_back(name.substr(0, name.find(' ')));
    }
    std::sort(painted.begin(), painted.end());
    painted.erase(std::unique(painted.begin(), painted.end()), painted.end());
    ASSERT_GE(painted.size(), 4u);
    for (std::size_t k = 0; k < painted.size(); ++k) {
        TerrainBrush brush(terrains, 8, 8);
        // Each terrain's colour: the one on its fills' corners.
        int own = 0, other = 0;
        for (const auto& [tile, wang] : terrains.tiles) {
            if (tsx.names.at(tile).rfind(painted[k] + " ", 0) == 0) own = wang[1];
            if (tsx.names.at(tile).rfind(painted[(k + 1) % painted.size()] + " ", 0) == 0) other = wang[1];
        }
        std::string wrong;
        const auto only = [&](const std::string& terrain) {
            return [&, terrain](int, int tile) {
                std::smatch m;
                const std::string name = tile < 0 ? "nothing" : tsx.names.at(tile);
                const bool own = std::regex_match(name, m, fill) && (terrain.empty() || m[1] == terrain);
                if (!own && wrong.size() < 300) wrong += name + "; ";
            };
        };
        brush.paint(vertices(0, 8), own, only(painted[k]));
        EXPECT_EQ(wrong, "") << "painting " << painted[k];
        EXPECT_EQ(std::count(brush.cells.begin(), brush.cells.end(), -1), 0) << painted[k];
        wrong.clear();
        brush.paint({{4, 4}}, other, only(""));
        EXPECT_EQ(wrong, "") << "painting " << painted[(k + 1) % painted.size()] << " into " << painted[k];
    }
}

// On a layer of its own, as the world lays each terrain, a terrain's edge
// set rims the painted ground with its over tiles, their clear sides only
// towards empty cells: every corner is the terrain in all placed cells
// round it, or in none.
TEST(WorldTerrainBrush, EdgeSetsRimTheGroundWithClearSidesOutward) {
    static constexpr int strokes_need[] = {1, 2, 3, 4, 6, 8, 9, 12, 15};  // sorted
    const Tsx& tsx = world_tilesets().tsx;
    int sets = 0;
    for (const TsxWangSet& edges : tsx.sets) {
        if (edges.name.size() < 6 || edges.name.substr(edges.name.size() - 6) != " edges") continue;
        // A world's sets hold the tiles it places; these strokes need the
        // fills and the tiles of one corner and of two beside each other.
        std::set<int> masks;
        for (const auto& [tile, wang] : edges.tiles)
            masks.insert((wang[7] ? 1 : 0) | (wang[1] ? 2 : 0) | (wang[3] ? 4 : 0) | (wang[5] ? 8 : 0));
        if (!std::includes(masks.begin(), masks.end(), std::begin(strokes_need), std::end(strokes_need))) continue;
        ++sets;
        const std::string terrain = edges.name.substr(0, edges.name.size() - 6);
        TerrainBrush brush(edges, 9, 9);
        std::string wrong;
        const auto own = [&](int, int tile) {
            const std::string name = tile < 0 ? "nothing" : tsx.names.at(tile);
            if (name.rfind(terrain + " variant ", 0) != 0 && name.rfind(terrain + " over ", 0) != 0)
                if (wrong.size() < 300) wrong += name + "; ";
        };
        brush.paint({{4, 4}}, 1, own);
        brush.paint(vertices(3, 5), 1, own);
        EXPECT_EQ(wrong, "") << edges.name;
        int rims = 0;
        for (int vy = 1; vy < 9; ++vy)
            for (int vx = 1; vx < 9; ++vx) {
                std::set<int> seen;  // the corner's colour in each placed cell round vertex (vx, vy)
                const int round[4][3] = {{vx, vy - 1, 2}, {vx, vy, 3}, {vx - 1, vy, 0}, {vx - 1, vy - 1, 1}};
                for (const auto& [x, y, corner] : round)
                    if (const int tile = brush.cells[y * 9 + x]; tile >= 0)
                        seen.insert(edges.tiles.at(tile)[slot_of_corner(corner)]);
                EXPECT_LE(seen.size(), 1u) << edges.name << " at vertex " << vx << "," << vy;
                rims += seen.count(0);
            }
        EXPECT_GT(rims, 0) << edges.name;
    }
    EXPECT_GE(sets, 2);
}

// Godot 4 reads the world's TileSet with the Tiled sets' terrains and every
// tile's corners in the same order, by its loader's rules (tile_set.cpp):
// the terrain sets before the source that names them (else it clears the
// tiles' terrains); an alternative tile declared before its keys and drawn
// from the same origin; a tile's terrain set before its terrain and corner
// bits; every terrain within its set; only the corners a diamond's
// corner-matching set has.
TEST(WorldTerrainBrush, Godot4TileSetHoldsTheSameSetsByItsLoadersRules) {
    const auto& [tsx, columns, tres] = world_tilesets();
    ASSERT_GT(columns, 0);
    std::map<int, std::vector<std::string>> terrains;  // set -> its terrains' names
    std::map<std::string, std::string> keys;           // tile keys, "c:r/a/key" -> value
    std::set<std::string> declared;                    // "c:r/a"
    std::size_t source_line = 0;
    const std::regex terrain(R"re(terrain_set_(\d+)/terrain_(\d+)/name = "([^"]*)")re");
    const std::regex mode(R"(terrain_set_\d+/mode = (\d+))");
    const std::regex alternative(R"((\d+:\d+/\d+) = \d+)"), tile_key(R"((\d+:\d+/\d+)/(\S+) = (\S+))");
    // The TileSet's own keys come last, but Godot checks the tiles' terrains
    // against them only when the source joins it.
    for (std::size_t n = 0; n < tres.size(); ++n) {
        std::smatch m;
        const std::string& line = tres[n];
        if (line.rfind("sources/0 = ", 0) == 0) source_line = n;
        if (std::regex_match(line, m, mode)) {
            EXPECT_EQ(m[1], "1") << line;  // match corners
        }
        if (std::regex_match(line, m, terrain)) {
            EXPECT_EQ(source_line, 0u) << "terrains after the source: " << line;
            std::vector<std::string>& names = terrains[std::stoi(m[1])];
            EXPECT_EQ(names.size(), std::stoul(m[2])) << line;
            names.push_back(m[3]);
        }
    }
    for (const std::string& line : tres) {
        std::smatch m;
        if (std::regex_match(line, m, alternative)) declared.insert(m[1]);
        if (std::regex_match(line, m, tile_key)) {
            const std::string at = m[1], key = m[2];
            EXPECT_TRUE(declared.count(at)) << "before its alternative: " << line;
            if (key == "terrain" || key.rfind("terrains_peering_bit/", 0) == 0) {
                ASSERT_TRUE(keys.count(at + "/terrain_set")) << "before its terrain set: " << line;
                const int set = std::stoi(keys[at + "/terrain_set"]);
                ASSERT_TRUE(terrains.count(set)) << line;
                EXPECT_LT(std::stoi(m[3]), static_cast<int>(terrains[set].size())) << line;
            }
            if (key.rfind("terrains_peering_bit/", 0) == 0) {
                EXPECT_TRUE(std::regex_match(key, std::regex("terrains_peering_bit/(top|right|bottom|left)_corner")))
                    << line;
            }
            keys[at + "/" + key] = m[3];
        }
    }
    ASSERT_GT(source_line, 0u);
    for (const std::string& at : declared)
        EXPECT_EQ(keys[at + "/texture_origin"], keys[at.substr(0, at.rfind('/')) + "/0/texture_origin"]) << at;
    // Set s is Tiled's set s: its terrains, and each of its tiles as an alternative of the tile with its corners.
    ASSERT_EQ(terrains.size(), tsx.sets.size());
    const char* const bits[4] = {"right", "bottom", "left", "top"};  // Tiled's corner slots 1, 3, 5, 7
    for (std::size_t s = 0; s < tsx.sets.size(); ++s) {
        EXPECT_EQ(static_cast<int>(terrains[static_cast<int>(s)].size()), tsx.sets[s].colours) << tsx.sets[s].name;
        for (const auto& [tile, wang] : tsx.sets[s].tiles) {
            const std::string cell = std::to_string(tile % columns) + ":" + std::to_string(tile / columns) + "/";
            int found = 0;
            for (int a = 0; declared.count(cell + std::to_string(a)); ++a) {
                const std::string at = cell + std::to_string(a) + "/";
                if (keys[at + "terrain_set"] != std::to_string(s)) continue;
                ++found;
                for (int c = 0; c < 4; ++c) {
                    const std::string key = at + "terrains_peering_bit/" + bits[c] + "_corner";
                    EXPECT_EQ(keys.count(key) ? std::stoi(keys[key]) : -1, wang[slot_of_corner(c)] - 1)
                        << tsx.sets[s].name << " " << key;
                }
            }
            EXPECT_EQ(found, 1) << tsx.sets[s].name << " tile " << tile;
        }
    }
}
