#include "generators/world/world_mountains.hpp"

#include "generators/world/world_cell_hash.hpp"
#include "generators/world/world_looks.hpp"

#include <algorithm>

namespace {

constexpr double site_chance = 0.85;

struct Site {
    bool stands = false;
    bool small = false;  // a 2 x 2 footprint
    bool crag = false;   // the cell alone
    int high_cells = 0;  // of the footprint's, rock or snow
    int level = 0;       // the foot's
};

// The footprint's cells from (x0, y0) to (x1, y1), each: none water, and
// the mountain's foot on the highest ground of those the slices stand in,
// none of them rising above it, with no cliff in front of them rising over
// it. On a massif of terraces the mountain then stands on the upper one,
// the cliffs below it showing in front of its foot.
template <class Carries>
Site footprint(const WorldGround& ground, int x0, int y0, int x1, int y1, Carries carries) {
    Site s;
    if (x0 < 0 || y0 < 0 || x1 >= ground.width() || y1 >= ground.height()) return s;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const CellFacts& c = ground.at(x, y);
            if (c.wet) return s;
            s.high_cells += c.high;
            if (carries(x, y)) s.level = std::max(s.level, c.top);
        }
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (carries(x, y) && !ground.clear_in_front(x, y, s.level)) return s;
    s.stands = true;
    return s;
}

Site site(const WorldGround& ground, int x, int y) {
    if (!ground.at(x, y).high || x + 1 >= ground.width() || y + 1 >= ground.height()) return {};
    // The large footprint: slices beside and in front of the middle.
    Site large = footprint(ground, x - 1, y - 1, x + 1, y + 1,
                           [&](int cx, int cy) { return cx - x + cy - y >= 0 && (cx != x || cy != y); });
    if (large.stands && large.high_cells >= 5) return large;
    // The small one: the cell and those left and right of it, behind it on screen.
    Site small = footprint(ground, x - 1, y - 1, x, y, [&](int cx, int cy) { return cx == x || cy == y; });
    small.small = true;
    small.stands = small.stands && small.high_cells >= 3;
    if (small.stands) return small;
    // A crag: the cell alone, flat or a cliff that falls towards the viewer,
    // so the crag stands in front of its face.
    const CellFacts& f = ground.at(x, y);
    Site crag;
    crag.crag = true, crag.level = f.low, crag.high_cells = 1;
    crag.stands = !f.wet && (f.rise == 0 || (f.rise == 2 && f.bottom == f.low)) && ground.clear_in_front(x, y, f.low);
    return crag;
}

std::uint64_t draw(std::uint64_t seed, const WorldGround& ground, int x, int y) {
    return world_cell_hash(seed ^ 0x6d6f756eULL, ground.patch().x0 + x, ground.patch().y0 + y);
}

// A site's claim: larger footprints first, then the draw; 0 for no site.
struct Claim {
    int rank = 0;
    std::uint64_t draw = 0;
    auto operator<=>(const Claim&) const = default;
};
Claim claim(const WorldGround& ground, std::uint64_t seed, int x, int y) {
    const std::uint64_t d = draw(seed, ground, x, y);
    if (static_cast<double>(d >> 11) / static_cast<double>(1ULL << 53) >= site_chance) return {};
    const Site s = site(ground, x, y);
    if (!s.stands) return {};
    return {s.crag ? 1 : s.small ? 2 : 3, d};
}

}  // namespace

int world_mountain_reach() { return world_mountain_spacing + 1 + WorldGround::front_reach + world_ground_reach(); }

bool world_mountain_covers(const WorldObject& mountain, int mx, int my, int x, int y) {
    if (mountain.slice < 0) return x == mx && y == my;
    const bool small = world_mountain_slices[static_cast<std::size_t>(mountain.slice)].small;
    return x >= mx - 1 && y >= my - 1 && x <= mx + (small ? 0 : 1) && y <= my + (small ? 0 : 1);
}

std::optional<WorldObject> world_mountain_at(const WorldGround& ground, std::uint64_t seed, int x, int y) {
    const Claim mine = claim(ground, seed, x, y);
    if (mine.rank == 0) return std::nullopt;
    const int s = world_mountain_spacing;
    for (int ny = y - s; ny <= y + s; ++ny)
        for (int nx = x - s; nx <= x + s; ++nx)
            if ((nx != x || ny != y) && nx >= 0 && ny >= 0 && nx < ground.width() && ny < ground.height() &&
                claim(ground, seed, nx, ny) > mine)
                return std::nullopt;
    const CellFacts& f = ground.at(x, y);
    const Site here = site(ground, x, y);
    WorldObject o;
    o.kind = WorldObjectKind::mountain;
    o.x = ground.patch().x0 + x, o.y = ground.patch().y0 + y, o.level = here.level;
    o.slice = here.crag ? -1 : here.small ? 6 : 0;
    // Snow caps the mountains of the snow; the biggest stand where the rock
    // is deepest.
    const bool snow = f.snow_corners >= 2;
    WorldLookVariety variety = snow ? WorldLookVariety::snowy : WorldLookVariety::plain;
    if (here.crag) variety = snow ? WorldLookVariety::snowy_crag : WorldLookVariety::crag;
    int size = 0;
    if (!here.small && !here.crag)
        size = here.high_cells == 9 ? 1 : here.high_cells == 8 ? static_cast<int>((mine.draw >> 7) % 2) : 0;
    o.look = world_look(o.kind, variety, size, mine.draw >> 9);
    return o;
}
