#include "generators/common/diamond_mapping.hpp"
#include "generator_test_support.hpp"
#include "generators/transition/corner_field.hpp"
#include "generators/common/even_texture.hpp"
#include "generators/transition/transition_set.hpp"

#include <algorithm>
#include <vector>

namespace {
RasterImage draw(TileRig& rig, const TransitionTileSpec& spec, int iso_width) {
    TileContext context = rig.app->context({.iso_width = iso_width});
    draw_transition_tile(context, spec);
    return rig.canvas();
}

TransitionTileSpec spec_of(TransitionTerrain a, TransitionTerrain b, int mask, int variant = 0) {
    return {a, b, mask, variant, 77};
}

struct Pair {
    TransitionTerrain a, b;
};
const Pair pairs[] = {{{TerrainKind::ground, 10}, {TerrainKind::water, 0}},   // a shore
                      {{TerrainKind::water, 3}, {TerrainKind::rock, 2}},      // a shore, water first
                      {{TerrainKind::ground, 3}, {TerrainKind::ground, 12}},  // grass and earth
                      {{TerrainKind::ground, 3}, {TerrainKind::rock, 0}}};

// The grid point nearest each corner: top, right, bottom, left.
constexpr int corner_bits[4] = {corner_top, corner_right, corner_bottom, corner_left};
std::pair<int, int> corner_point(int corner, int h) {
    const std::pair<int, int> at[4] = {{0, 0}, {h - 1, 0}, {h - 1, h - 1}, {0, h - 1}};
    return at[corner];
}
}  // namespace

// Around each corner a tile shows exactly the pixels of the pure tile of the
// terrain that corner declares: no boundary, no shore, no fringe there.
TEST(TransitionTile, CornerRegionsShowTheTerrainTheirCornersDeclare) {
    TileRig rig;
    for (const Pair& pair : pairs)
        for (const int width : {40, 100}) {
            SCOPED_TRACE(terrain_name(pair.a) + "," + terrain_name(pair.b) + " width " + std::to_string(width));
            const int h = width / 2, reach = std::max(2, h / 8);
            const RasterImage pure[2] = {draw(rig, spec_of(pair.a, pair.b, 0), width),
                                         draw(rig, spec_of(pair.a, pair.b, corner_masks - 1), width)};
            ASSERT_NE(pure[0].pixel(130, 180), pure[1].pixel(130, 180));
            for (int mask = 1; mask < corner_masks - 1; ++mask) {
                const RasterImage tile = draw(rig, spec_of(pair.a, pair.b, mask), width);
                for (int corner = 0; corner < 4; ++corner) {
                    const RasterImage& expected = pure[corner_terrain(mask, corner_bits[corner])];
                    const auto [ci, cj] = corner_point(corner, h);
                    int wrong = 0;
                    for (int i = std::max(0, ci - reach); i <= std::min(h - 1, ci + reach); ++i)
                        for (int j = std::max(0, cj - reach); j <= std::min(h - 1, cj + reach); ++j) {
                            const CanvasPoint p = diamond_pixel(h, i, j);
                            wrong += tile.pixel(p.x, p.y) != expected.pixel(p.x, p.y);
                        }
                    EXPECT_EQ(wrong, 0) << "mask " << mask << " corner " << corner;
                }
            }
        }
}

// Along each edge the field and its slope (which sets the shore's bands)
// depend on that edge's two corners alone, for every variant: tiles that
// share an edge's corners meet there with one boundary.
TEST(TransitionTile, FieldAlongAnEdgeDependsOnlyOnItsCorners) {
    // The edges as (the two corners they join, a point on them at t).
    struct Edge {
        int corners;
        double u0, v0, du, dv;
    };
    const Edge edges[] = {{corner_top | corner_right, 0, 0, 1, 0},
                          {corner_right | corner_bottom, 1, 0, 0, 1},
                          {corner_bottom | corner_left, 0, 1, 1, 0},
                          {corner_left | corner_top, 0, 0, 0, 1}};
    for (const Edge& edge : edges)
        for (int mask = 0; mask < corner_masks; ++mask)
            for (int other = 0; other < corner_masks; ++other) {
                if ((mask & edge.corners) != (other & edge.corners)) continue;
                const CornerField a(5, mask, 0), b(5, other, 3);
                for (double t = 0; t <= 1.0; t += 1.0 / 64) {
                    const double u = edge.u0 + t * edge.du, v = edge.v0 + t * edge.dv;
                    const FieldSample fa = a.at(u, v), fb = b.at(u, v);
                    ASSERT_NEAR(fa.value, fb.value, 1e-12)
                        << "masks " << mask << ", " << other << " at " << u << "," << v;
                    ASSERT_NEAR(fa.du, fb.du, 1e-9);
                    ASSERT_NEAR(fa.dv, fb.dv, 1e-9);
                }
            }
}

// Variants of a combination paint the same edge pixels and differ inside;
// drawing one takes nothing from the random source.
TEST(TransitionTile, VariantsShareTheirEdgePixelsAndDifferInside) {
    TileRig rig;
    const Pair& shore = pairs[0];
    for (const int width : {40, 64, 200})
        for (const int mask : {0, 5, 9}) {
            SCOPED_TRACE("width " + std::to_string(width) + " mask " + std::to_string(mask));
            const int h = width / 2;
            const std::uint64_t draws = rig.app->random().draw_count();
            const RasterImage plain = draw(rig, spec_of(shore.a, shore.b, mask, 0), width);
            EXPECT_EQ(rig.app->random().draw_count(), draws);
            for (const int variant : {1, 2}) {
                const RasterImage other = draw(rig, spec_of(shore.a, shore.b, mask, variant), width);
                int edge_differs = 0, inside = 0, inside_differs = 0;
                for (int i = 0; i < h; ++i)
                    for (int j = 0; j < h; ++j) {
                        const CanvasPoint p = diamond_pixel(h, i, j);
                        const bool differs = plain.pixel(p.x, p.y) != other.pixel(p.x, p.y) ||
                                             plain.pixel(p.x + 1, p.y) != other.pixel(p.x + 1, p.y);
                        if (std::min({i, j, h - 1 - i, h - 1 - j}) == 0) edge_differs += differs;
                        else if (std::min({i, j, h - 1 - i, h - 1 - j}) > h / 4) ++inside, inside_differs += differs;
                    }
                EXPECT_EQ(edge_differs, 0) << "variant " << variant;
                EXPECT_GT(inside_differs * 2, inside) << "variant " << variant;
            }
        }
}

namespace {
bool upper_side(BandLabel label) {
    return label == BandLabel::upper || label == BandLabel::wet || label == BandLabel::lip;
}

// Regions of equal label (4-connected) as (size, extent, reaches the outer
// ring, touches the other side's terrain).
struct Region {
    int extent;
    bool at_rim, beside_other_side;
};
std::vector<std::pair<BandLabel, Region>> regions_of(const std::vector<BandLabel>& labels, int h) {
    std::vector<std::pair<BandLabel, Region>> regions;
    std::vector<char> seen(labels.size(), 0);
    for (int start = 0; start < h * h; ++start) {
        if (seen[start]) continue;
        const BandLabel label = labels[start];
        int lo_i = h, hi_i = -1, lo_j = h, hi_j = -1;
        Region region{0, false, false};
        std::vector<int> stack = {start};
        seen[start] = 1;
        while (!stack.empty()) {
            const int at = stack.back(), i = at % h, j = at / h;
            stack.pop_back();
            lo_i = std::min(lo_i, i), hi_i = std::max(hi_i, i), lo_j = std::min(lo_j, j), hi_j = std::max(hi_j, j);
            region.at_rim = region.at_rim || std::min({i, j, h - 1 - i, h - 1 - j}) == 0;
            const int next[4][2] = {{i + 1, j}, {i - 1, j}, {i, j + 1}, {i, j - 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= h || n[1] >= h) continue;
                const int k = n[1] * h + n[0];
                if (upper_side(labels[k]) != upper_side(label)) region.beside_other_side = true;
                if (seen[k] || labels[k] != label) continue;
                seen[k] = 1;
                stack.push_back(k);
            }
        }
        region.extent = std::max(hi_i - lo_i, hi_j - lo_j) + 1;
        regions.push_back({label, region});
    }
    return regions;
}
}  // namespace

// Over every tile of 8 variants of five pairs at three widths: no region
// smaller than three grid steps that the neighbours do not continue, every
// terrain region reaching an edge (a corner's), and every band (wet, foam,
// shallows, lip, shadow) lying beside the terrain it edges. The release
// build checks every tile; the sanitizers, twenty times slower, check one
// variant of each pair, width and mask, every variant in turn across the
// masks, so the same paths run under them in a twentieth of the time.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool every_variant = false;
#else
constexpr bool every_variant = true;
#endif
TEST(TransitionTile, ShoresAndEdgesHaveNoIslandsSpecksOrStrayBands) {
    TileRig rig;
    const Pair five[] = {pairs[0],
                         {{TerrainKind::rock, 2}, {TerrainKind::water, 0}},
                         {{TerrainKind::water, 0}, {TerrainKind::water, 5}},
                         pairs[3],
                         pairs[2]};
    for (const Pair& pair : five)
        for (const int width : {64, 128, 200})
            for (int variant = 0; variant < 8; ++variant)
                for (int mask = 0; mask < corner_masks; ++mask) {
                    if (!every_variant && (mask + width / 2) % 8 != variant) continue;
                    const int h = width / 2;
                    std::vector<BandLabel> labels =
                        transition_band_labels(rig.state().ground_sheet.image, {pair.a, pair.b, mask, variant, 77}, h);
                    // Shallows fade into the water: a gradient of it, not a region.
                    std::replace(labels.begin(), labels.end(), BandLabel::shallows, BandLabel::lower);
                    const std::string where = terrain_name(pair.a) + "," + terrain_name(pair.b) + " width " +
                                              std::to_string(width) + " variant " + std::to_string(variant) + " mask " +
                                              std::to_string(mask);
                    std::vector<BandLabel> sides(labels.size());
                    for (std::size_t k = 0; k < labels.size(); ++k)
                        sides[k] = upper_side(labels[k]) ? BandLabel::upper : BandLabel::lower;
                    for (const auto& [side, region] : regions_of(sides, h))
                        ASSERT_TRUE(region.at_rim) << where << ": a terrain region reaching no edge";
                    for (const auto& [label, region] : regions_of(labels, h)) {
                        if (label == BandLabel::upper || label == BandLabel::lower) continue;
                        ASSERT_TRUE(region.at_rim || region.extent >= 3) << where << " label " << int(label);
                        ASSERT_TRUE(region.beside_other_side || region.at_rim) << where << ": a stray band";
                    }
                }
}

// Between the variants of a straight coast, the coastline runs its own
// course: in the middle of the tile at least 30 % of it lies more than a
// step and a half from the other's, and it leaves the shared course soon
// after the edges it crosses: a fifth of it differs 10 to 25 % of the tile in
// from them, so a long coast shows no tooth repeated at every tile.
TEST(TransitionTile, VariantsOfACoastRunTheirOwnCourse) {
    TileRig rig;
    const int h = 64, mask = corner_top | corner_right;  // it crosses the edges u = 0 and u = 1
    struct Band {
        const char* name;
        bool (*holds)(int i, int j, int h);
        int share;  // per cent apart, at least
    };
    const Band bands[] = {
        {"middle",
         [](int i, int j, int h) {
             return std::min({i, j, h - 1 - i, h - 1 - j}) >= h / 5;
         },
         30},
        {"near the crossed edges",
         [](int i, int, int h) { return std::min(i, h - 1 - i) >= h / 10 && std::min(i, h - 1 - i) < h / 4; }, 20}};
    std::vector<std::vector<BandLabel>> labels;
    for (int variant = 0; variant < 8; ++variant)
        labels.push_back(
            transition_band_labels(rig.state().ground_sheet.image, {pairs[0].a, pairs[0].b, mask, variant, 77}, h));
    for (const Band& band : bands) {
        std::vector<std::vector<std::pair<int, int>>> coasts;
        for (const std::vector<BandLabel>& l : labels) {
            std::vector<std::pair<int, int>> coast;
            for (int j = 0; j + 1 < h; ++j)
                for (int i = 0; i + 1 < h; ++i)
                    if (band.holds(i, j, h) && (upper_side(l[j * h + i]) != upper_side(l[j * h + i + 1]) ||
                                                upper_side(l[j * h + i]) != upper_side(l[(j + 1) * h + i])))
                        coast.push_back({i, j});
            ASSERT_GT(coast.size(), static_cast<std::size_t>(h / 8)) << band.name;
            coasts.push_back(coast);
        }
        for (std::size_t a = 0; a < coasts.size(); ++a)
            for (std::size_t b = 0; b < coasts.size(); ++b) {
                if (a == b) continue;
                int apart = 0;
                for (const auto& [i, j] : coasts[a]) {
                    bool near = false;
                    for (const auto& [k, l] : coasts[b]) near = near || (i - k) * (i - k) + (j - l) * (j - l) <= 2;
                    apart += !near;
                }
                EXPECT_GE(apart * 100, static_cast<int>(coasts[a].size()) * band.share)
                    << band.name << ", variants " << a << " and " << b << ": " << apart << " of " << coasts[a].size();
            }
    }
}

// Every tile of a set shows its texture cell's border along its edges, so a
// cell that darkens towards its border draws a lattice across a map. Read
// evened, the border ring drifts from the cell's mean by less than half as
// much, and the grain stays: neighbouring texels differ as much as they did.
TEST(TransitionTile, EvenedTexturesKeepTheirGrainAndLoseTheirBorderDrift) {
    TileRig rig;
    const RasterImage& sheet = rig.state().ground_sheet.image;
    const auto luma = [](Colour c) { return 0.299 * red(c) + 0.587 * green(c) + 0.114 * blue(c); };
    for (const TransitionTerrain terrain : {TransitionTerrain{TerrainKind::ground, 3}, {TerrainKind::rock, 2}}) {
        const SheetPoint cell = terrain_cell_origin(terrain);
        const EvenTexture even(sheet, cell);
        const auto plain = [&](int x, int y) {
            return luma(sheet.pixel(cell.x + x % ground_cell_size, cell.y + y % ground_cell_size));
        };
        double ring_sum[2] = {0, 0}, sum[2] = {0, 0}, grain[2] = {0, 0};  // plain, evened
        int ring_count = 0;
        for (int y = 0; y < ground_cell_size; ++y)
            for (int x = 0; x < ground_cell_size; ++x) {
                const double l[2] = {plain(x, y), luma(even.at(x, y))};
                const bool ring = std::min({x, y, ground_cell_size - 1 - x, ground_cell_size - 1 - y}) < 4;
                ring_count += ring;
                for (int k = 0; k < 2; ++k) {
                    sum[k] += l[k];
                    ring_sum[k] += ring ? l[k] : 0;
                }
                grain[0] += std::abs(l[0] - plain(x + 1, y));
                grain[1] += std::abs(l[1] - luma(even.at(x + 1, y)));
            }
        SCOPED_TRACE(terrain.kind == TerrainKind::rock ? "rock" : "ground");
        double drift[2];
        for (int k = 0; k < 2; ++k)
            drift[k] = ring_sum[k] / ring_count - sum[k] / (ground_cell_size * ground_cell_size);
        EXPECT_LT(std::abs(drift[1]), 0.5 * std::abs(drift[0]));
        EXPECT_NEAR(grain[1], grain[0], 0.1 * grain[0]);
    }
}
