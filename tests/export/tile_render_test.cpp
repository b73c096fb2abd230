// The seeded tile as both front ends get it: its painted box and anchor.
#include "export/tile/tile_render.hpp"
#include "export/tile/render_canvas.hpp"
#include "export/tile/cell_bounds.hpp"
#include "export/control_options.hpp"
#include "state/control_ids.hpp"

#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {
RenderSettings settings_of(std::vector<std::string> args) {
    const ParsedCommandLine parsed = parse_args(std::move(args));
    EXPECT_TRUE(parsed.settings.has_value()) << parsed.text;
    return parsed.settings.value_or(RenderSettings{});
}

std::unique_ptr<Application> started() { return std::make_unique<Application>(create_app_state()); }
}  // namespace

TEST(RenderTile, TrimKeepsThePaintedBoxAndTheAnchorPutsItBack) {
    for (const char* kind : {"house", "tree", "mountain"}) {
        auto app = started();
        RenderSettings full = settings_of({"--kind", kind, "--seed", "3", "--transparent"});
        RenderSettings trimmed = full;
        trimmed.trim = true;
        const RenderedTile whole = render_tile(*app, full, 0);
        const RenderedTile cut = render_tile(*app, trimmed, 0);
        EXPECT_EQ(cut.anchor_x, 130 - cut.left);
        EXPECT_EQ(cut.anchor_y, 180 - cut.top);
        ASSERT_LT(cut.image.width(), 260);
        // Pasted back at the anchor, the cut tile is the whole one.
        for (int y = 0; y < cut.image.height(); ++y)
            for (int x = 0; x < cut.image.width(); ++x) {
                const int cx = x + 130 - cut.anchor_x, cy = y + 180 - cut.anchor_y;
                ASSERT_EQ(cut.image.pixel(x, y), whole.image.pixel(cx, cy)) << kind;
                ASSERT_EQ(cut.alpha[y * cut.image.width() + x], whole.alpha[cy * 260 + cx]) << kind;
            }
        // Nothing painted lies outside the box.
        int outside = 0;
        for (int y = 0; y < 260; ++y)
            for (int x = 0; x < 260; ++x)
                if (whole.alpha[y * 260 + x] && (x < cut.left || y < cut.top || x >= cut.left + cut.image.width() ||
                                                 y >= cut.top + cut.image.height()))
                    ++outside;
        EXPECT_EQ(outside, 0) << kind;
    }
}

TEST(RenderTile, EveryGeneratorIsCleanAtEveryEvenWidth) {
    auto app = started();
    const std::vector<std::vector<std::string>> looks = {
        {"--kind", "house", "--draw-ruins"},
        {"--kind", "house", "--add-ground", "--grass", "--boulder", "--bush", "--trees", "--pool", "--add-flowers",
         "--add-left-fence", "--add-right-fence"},
        {"--kind", "tree", "--multi-tree"},
        {"--kind", "tree", "--conifer"},
        {"--kind", "terrain", "--grass", "--make-crops", "--boulder", "--bush", "--trees", "--pool", "--swamp"},
        {"--kind", "mountain", "--snow-covered-top", "--add-black-border"},
        {"--kind", "mountain", "--reduce-to-hill", "--all-snow", "--no-terrain"},
        {"--kind", "water"},
    };
    for (const auto& look : looks) {
        for (int width = 40; width <= 200; width += 2) {
            std::vector<std::string> args = look;
            args.insert(args.end(), {"--iso-width", std::to_string(width), "--seed", std::to_string(width)});
            const RenderSettings s = settings_of(args);
            const RenderedTile tile = render_tile(*app, s, width);
            ASSERT_EQ(app->state().geometry.iso_width, width) << look[1];
            ASSERT_EQ(tile.image.width(), render_canvas(s).width);
        }
    }
}

TEST(RenderTile, NoTileOutgrowsTheLargestCellOfItsKind) {
    // The bound a sheet is checked against before drawing: every kind at
    // small, middle and large widths, with its things switched on at random.
    RandomSource dice(20);
    auto app = started();
    for (const TileKindRow& kind : kind_rows()) {
        if (kind.corner_set) continue;  // a set's tiles take --terrains
        for (const int width : {40, 100, 200}) {
            const std::string name = kind.name;
            for (int n = 0; n < 10; ++n) {
                RenderSettings s = settings_of(
                    {"--kind", name, "--iso-width", std::to_string(width), "--seed", std::to_string(n), "--trim"});
                std::string flipped;
                for (const ControlOption& option : control_options())
                    if (option.kind == OptionKind::flag && random_below(dice, 2)) {
                        s.controls.emplace_back(option.control, option.spec->default_state ? 0 : 1);
                        flipped += " " + option.name;
                    }
                const CellBound cell = largest_cell(s);
                const RenderedTile t = render_tile(*app, s, 0);
                EXPECT_LE(t.anchor_x, cell.left) << name << " " << width << flipped;
                EXPECT_LE(t.image.width() - t.anchor_x, cell.right) << name << " " << width << flipped;
                EXPECT_LE(t.anchor_y, cell.up) << name << " " << width << flipped;
                EXPECT_LE(t.image.height() - t.anchor_y, cell.down) << name << " " << width << flipped;
            }
        }
    }
}

TEST(RenderTile, RecordedCoverageIsWhatTwoBackgroundsShow) {
    // The reference the mask replaces: a pixel is painted exactly when the
    // tile comes out the same over black and over white. Every kind and set,
    // at widths from the smallest to the largest canvas, with the kind's
    // check boxes and combo items drawn at random.
    RandomSource dice(7);
    auto app = started();
    const std::vector<std::vector<std::string>> kinds = {
        {"--kind", "house"},
        {"--kind", "tree"},
        {"--kind", "terrain"},
        {"--kind", "mountain"},
        {"--kind", "water"},
        {"--kind", "transition", "--terrains", "ground:3,water:0"},
        {"--kind", "transition", "--terrains", "ground:3,rock:2"},
        {"--kind", "slope", "--terrains", "ground:3"},
        {"--kind", "slope", "--cliff", "--terrains", "ground:3,rock:1"},
    };
    int tiles = 0;
    for (const auto& kind : kinds)
        for (const int width : {40, 64, 100, 158, 200})
            for (int n = 0; n < 6; ++n) {
                std::vector<std::string> args = kind;
                args.insert(args.end(), {"--iso-width", std::to_string(width), "--seed", std::to_string(n),
                                         "--transparent"});
                RenderSettings s = settings_of(args);
                std::string flipped;
                for (const ControlOption& option : control_options()) {
                    if (option.kind == OptionKind::flag && random_below(dice, 3) == 0) {
                        s.controls.emplace_back(option.control, option.spec->default_state ? 0 : 1);
                        flipped += " --" + option.name;
                    } else if (option.kind == OptionKind::choice && random_below(dice, 3) == 0) {
                        const int item = random_below(dice, static_cast<int>(option.spec->items.size()));
                        s.controls.emplace_back(option.control, item);
                        flipped += " --" + option.name + " " + std::to_string(item);
                    }
                }
                const int index = n * 5 + 1;  // a set's tiles by several corner masks
                const RenderedTile tile = render_tile(*app, s, index);
                draw_seeded_tile(*app, s, index, rgb(0, 0, 0));
                const RasterImage on_black = app->state().canvas;
                draw_seeded_tile(*app, s, index, rgb(255, 255, 255));
                const RasterImage& on_white = app->state().canvas;
                ASSERT_EQ(tile.image, on_black) << kind[1] << " " << width << flipped;
                ASSERT_EQ(tile.alpha.size(), static_cast<std::size_t>(on_black.width()) * on_black.height());
                for (int y = 0; y < on_black.height(); ++y)
                    for (int x = 0; x < on_black.width(); ++x)
                        ASSERT_EQ(tile.alpha[static_cast<std::size_t>(y) * on_black.width() + x],
                                  on_black.pixel(x, y) == on_white.pixel(x, y) ? 255 : 0)
                            << kind[1] << " " << width << flipped << " at " << x << "," << y;
                ++tiles;
            }
    EXPECT_EQ(tiles, 270);
}
