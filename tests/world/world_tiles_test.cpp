// Every tile and sprite a world draws is an ordinary tile: its record in
// world.json, given back as a --settings file, draws it again to the byte.
#include "export/run_options.hpp"
#include "export/world/world_sprite_finish.hpp"
#include "export/world/world_sprite_fit.hpp"
#include "export/world/world_sprites.hpp"
#include "export/world/world_tiles.hpp"

#include "../support/render_run.hpp"
#include "world_test_worlds.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {
namespace fs = std::filesystem;

// The tile a record draws, read as brannoc-render reads --settings.
RenderedTile redraw(const nlohmann::json& drawn, const fs::path& file) {
    std::ofstream(file) << drawn.dump();
    const ParsedCommandLine parsed = parse_args({"--settings", file.string()});
    EXPECT_TRUE(parsed.settings) << drawn.dump();
    if (!parsed.settings) return {};
    Application app(create_app_state());
    return render_tile(app, *parsed.settings, 0);
}

void expect_same_image(const RenderedTile& a, const RenderedTile& b, const std::string& what) {
    EXPECT_EQ(a.image.width(), b.image.width()) << what;
    EXPECT_EQ(a.image.height(), b.image.height()) << what;
    EXPECT_TRUE(a.image == b.image && a.alpha == b.alpha && a.anchor_x == b.anchor_x && a.anchor_y == b.anchor_y &&
                a.later_frames == b.later_frames)
        << what;
}

TEST(WorldTiles, EveryRecordAWorldWritesDrawsItsTileAgainForEveryPalette) {
    const ScratchDir dir("world-tiles-");
    TileRequest run;
    run.iso_width = 64, run.seed = 11, run.variants = 2, run.loop_frames = 3, run.flow = 40.0, run.normals = true;
    WorldRequest request = test_world(11, 4, 40);
    request.variants = run.variants;
    const WorldLayout layout = lay_out_world(whole_world(request));
    Application app(create_app_state());
    for (const WorldPalette& palette : world_palettes()) {
        // Every tile passes the command line's checks; one of each kind,
        // still and moving, is drawn again from its record.
        std::set<std::pair<WorldTileKey::Kind, bool>> redrawn;
        for (const WorldTileKey& key : layout.tiles) {
            const TileRequest tile = world_tile_request(run, palette, key);
            ASSERT_EQ(check_tile_request(tile), std::nullopt) << palette.name;
            if (!redrawn.insert({key.kind, tile.loop_frames > 1}).second) continue;
            const RenderedTile drawn = render_tile(app, tile, 0);
            expect_same_image(drawn, redraw(drawn.drawn, dir.path() / "tile.json"),
                              palette.name + " " + drawn.drawn.dump());
        }
        EXPECT_EQ(redrawn.size(), 6u) << palette.name << ": fills and overs, still and moving; slopes; cliffs";
    }
    // Sprites drawn by a tab's generator: the record draws the tile again,
    // and the finish the manifest names lays the rest on it.
    for (const WorldPalette& palette : {world_palettes().front(), *world_palette_named("winter")})
        for (const WorldObjectKind kind : {WorldObjectKind::tree, WorldObjectKind::house, WorldObjectKind::mountain})
            for (int look = 0; look < world_object_looks(kind); look += kind == WorldObjectKind::house ? 1 : 5) {
                const TileRequest sprite = world_object_request(run, palette, kind, look);
                ASSERT_EQ(check_tile_request(sprite), std::nullopt);
                const RenderedTile drawn = render_world_object(app, sprite, palette, kind, look, run.iso_width);
                RenderedTile again = redraw(drawn.drawn, dir.path() / "sprite.json");
                finish_world_sprite(again, world_sprite_finish(palette, kind, run.iso_width));
                expect_same_image(drawn, again, palette.name + " " + drawn.drawn.dump());
            }
}

// The opaque box of a sprite (its shade left out): width and height.
std::pair<int, int> opaque_box(const RenderedTile& tile) {
    int left = tile.image.width(), right = -1, top = tile.image.height(), bottom = -1;
    for (int y = 0; y < tile.image.height(); ++y)
        for (int x = 0; x < tile.image.width(); ++x)
            if (tile.alpha[static_cast<std::size_t>(y) * tile.image.width() + x] == 255)
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
                bottom = std::max(bottom, y);
    return {right - left + 1, bottom - top + 1};
}

// Each palette grows its own objects: no sprite of one is another's. And
// bushes and boulders read as such at map scale: a fifth of the cell
// across, not a blade of grass or a sliver of stone.
TEST(WorldTiles, PalettesDrawTheirOwnObjectsAtMapScale) {
    Application app(create_app_state());
    for (const int width : {64, 128}) {
        TileRequest run;
        run.iso_width = width, run.seed = 3;
        for (const WorldObjectKind kind :
             {WorldObjectKind::tree, WorldObjectKind::bush, WorldObjectKind::boulder, WorldObjectKind::mountain}) {
            std::vector<RenderedTile> drawn;
            for (const WorldPalette& palette : world_palettes()) {
                drawn.push_back(
                    render_world_object(app, world_object_request(run, palette, kind, 0), palette, kind, 0, width));
                for (std::size_t k = 0; k + 1 < drawn.size(); ++k)
                    EXPECT_FALSE(drawn[k].image == drawn.back().image && drawn[k].alpha == drawn.back().alpha)
                        << world_object_name(kind) << ": " << world_palettes()[k].name << " and " << palette.name;
                if (kind != WorldObjectKind::bush && kind != WorldObjectKind::boulder) continue;
                const auto [w, h] = opaque_box(drawn.back());
                EXPECT_GE(w, width / 5) << world_object_name(kind) << " of " << palette.name << " at " << width;
                EXPECT_GE(h, width / 10) << world_object_name(kind) << " of " << palette.name << " at " << width;
            }
        }
    }
}

// Every sprite fits the middle of its cell: inside its column, behind its
// front edges; so a foot can always be drawn in until it fits, and chunk
// maps draw as the whole map does. (Mountains are cut to fit.)
TEST(WorldTiles, EverySpriteFitsItsCell) {
    Application app(create_app_state());
    for (const int width : {40, 64, 128, 200})
        for (const WorldPalette& palette : {world_palettes().front(), *world_palette_named("winter")})
            for (const WorldObjectKind kind :
                 {WorldObjectKind::tree, WorldObjectKind::house, WorldObjectKind::bush, WorldObjectKind::boulder}) {
                TileRequest run;
                run.iso_width = width, run.seed = 5;
                for (int look = 0; look < world_object_looks(kind); ++look) {
                    const RenderedTile drawn = render_world_object(app, world_object_request(run, palette, kind, look),
                                                                   palette, kind, look, width);
                    const SpriteReach r = sprite_reach(drawn, width);
                    const double room = 0.5 - world_front_margin(width);
                    EXPECT_TRUE(r.left < width / 2 && r.right <= width / 2 && r.along_x <= room && r.along_y <= room)
                        << world_object_name(kind) << " " << look << " of " << palette.name << " at " << width << ": "
                        << r.left << ", " << r.right << ", " << r.along_x << ", " << r.along_y;
                }
            }
}

}  // namespace
