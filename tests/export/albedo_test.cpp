// The albedo: the colour with the generators' own light taken out, so that
// an engine's light is the only light; and where that painted light comes from.
#include "export/tile/lighting_maps.hpp"
#include "export/tile/tile_render.hpp"
#include "generators/tile_kinds.hpp"

#include "../support/map_pixels.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <cmath>
#include <memory>
#include <numbers>

namespace {
RenderSettings albedo_settings(std::vector<std::string> args) {
    const ParsedCommandLine parsed = parse_args(std::move(args));
    EXPECT_TRUE(parsed.settings.has_value()) << parsed.text;
    RenderSettings settings = parsed.settings.value_or(RenderSettings{});
    settings.normals = settings.albedo = true;
    return settings;
}

double brightness(const RasterImage& image, int x, int y) {
    const std::uint8_t* p = image.row(y) + 3 * x;
    return p[0] + p[1] + p[2];
}
bool painted(const RenderedTile& tile, int x, int y) {
    return tile.alpha.empty() || tile.alpha[static_cast<std::size_t>(y) * tile.image.width() + x] != 0;
}

// The direction whose Lambert term max(0, n . l) best explains the painted
// light factor (colour over albedo): the highest correlation over a grid of
// directions. Pixels are gathered by their encoded normal, so each direction
// costs the normals, not the pixels.
struct LightFit {
    struct Sums {
        double count = 0, factor = 0, factor_squared = 0;
    };
    std::map<Colour, Sums> by_normal;
    void add(const RenderedTile& tile) {
        const RasterImage albedo = whole_albedo(tile.lighting_maps, tile.image);
        for (int y = 0; y < tile.image.height(); ++y)
            for (int x = 0; x < tile.image.width(); ++x) {
                const std::uint8_t* a = albedo.row(y) + 3 * x;
                // A clipped albedo or a near-black colour tells nothing of the factor.
                if (!painted(tile, x, y) || a[0] >= 250 || a[1] >= 250 || a[2] >= 250) continue;
                if (brightness(tile.image, x, y) < 30) continue;
                const double f = brightness(tile.image, x, y) / brightness(albedo, x, y);
                Sums& s = by_normal[tile.lighting_maps.normal_at(x, y)];
                s.count += 1, s.factor += f, s.factor_squared += f * f;
            }
    }
    double correlation(double azimuth, double elevation) const {
        const double a = azimuth * std::numbers::pi / 180.0, e = elevation * std::numbers::pi / 180.0;
        const double lx = std::cos(e) * std::cos(a), ly = std::cos(e) * std::sin(a), lz = std::sin(e);
        double n = 0, sf = 0, sff = 0, sl = 0, sll = 0, sfl = 0;
        for (const auto& [encoded, s] : by_normal) {
            const double l = std::max(0.0, (red(encoded) / 127.5 - 1.0) * lx + (green(encoded) / 127.5 - 1.0) * ly +
                                               (blue(encoded) / 127.5 - 1.0) * lz);
            n += s.count, sf += s.factor, sff += s.factor_squared;
            sl += s.count * l, sll += s.count * l * l, sfl += s.factor * l;
        }
        const double cov = sfl - sf * sl / n, vf = sff - sf * sf / n, vl = sll - sl * sl / n;
        return vf > 0 && vl > 0 ? cov / std::sqrt(vf * vl) : 0.0;
    }
    // Azimuth and elevation in degrees, to the nearest degree.
    std::pair<double, double> direction() const {
        double best = -2, azimuth = 0, elevation = 0;
        for (int a = 0; a < 360; a += 3)
            for (int e = 0; e <= 90; e += 3)
                if (const double c = correlation(a, e); c > best) best = c, azimuth = a, elevation = e;
        const double coarse_a = azimuth, coarse_e = elevation;
        for (double a = coarse_a - 3; a <= coarse_a + 3; a += 1)
            for (double e = std::max(0.0, coarse_e - 3); e <= std::min(90.0, coarse_e + 3); e += 1)
                if (const double c = correlation(a, e); c > best) best = c, azimuth = a, elevation = e;
        return {std::fmod(azimuth + 360.0, 360.0), elevation};
    }
};
}  // namespace

TEST(Albedo, PaintedLightIsWhereTheKindsTableSaysItComesFrom) {
    const std::vector<std::vector<std::string>> kinds = {
        {"--kind", "house"},
        {"--kind", "tree", "--multi-tree"},
        {"--kind", "terrain", "--grass", "--bush"},
        {"--kind", "mountain"},
        {"--kind", "slope", "--terrains", "ground:3"},
    };
    auto app = std::make_unique<Application>(create_app_state());
    for (const auto& args : kinds) {
        const PaintedLight& recorded = kind_named(args[1])->painted_light;
        ASSERT_TRUE(recorded.painted) << args[1];
        LightFit fit;
        for (const char* width : {"64", "128", "200"}) {
            std::vector<std::string> run = args;
            run.insert(run.end(), {"--iso-width", width, "--transparent", "--seed", "11"});
            const RenderSettings settings = albedo_settings(run);
            // A set's tiles by their corners, the others six seeded tiles.
            const bool set = kind_named(args[1])->corner_set;
            for (int index = 0; index < (set ? 16 : 6); ++index) fit.add(render_tile(*app, settings, index));
        }
        const auto [azimuth, elevation] = fit.direction();
        const double turn = std::remainder(azimuth - recorded.azimuth, 360.0);
        EXPECT_LE(std::abs(turn), 4.0) << args[1] << " measured from " << azimuth;
        EXPECT_NEAR(elevation, recorded.elevation, 4.0) << args[1];
    }
    for (const char* unlit : {"water", "transition"}) EXPECT_FALSE(kind_named(unlit)->painted_light.painted);
}

// The two front walls show one material, the left painted in shade. A
// house's doors and windows fall on either wall, so one house's walls differ
// by what they show (up to 15 %); over many houses the openings even out and
// the albedo's walls come out alike where the colour's differ by the light.
TEST(Albedo, HouseFrontWallsComeOutAlikeWhereTheColourShadesOne) {
    auto app = std::make_unique<Application>(create_app_state());
    // The ratio of the right front wall's mean brightness to the left's (the
    // walls told apart by their normals), in the colour and the albedo,
    // averaged over the houses.
    double colour_ratio = 0, albedo_ratio = 0, drawn = 0;
    for (const char* width : {"64", "128", "200"})
        for (const char* seed : {"3", "7"}) {
            const RenderSettings houses =
                albedo_settings({"--kind", "house", "--transparent", "--seed", seed, "--iso-width", width});
            for (int index = 0; index < 6; ++index) {
                const RenderedTile t = render_tile(*app, houses, index);
                const RasterImage unlit = whole_albedo(t.lighting_maps, t.image);
                double colour[2] = {0, 0}, albedo[2] = {0, 0}, count[2] = {0, 0};
                for (int y = 0; y < t.image.height(); ++y)
                    for (int x = 0; x < t.image.width(); ++x) {
                        const Normal n = normal_at(t, x, y);
                        if (!painted(t, x, y) || std::abs(n.z) > 0.05 || std::abs(n.x) < 0.8) continue;
                        const int side = n.x > 0;
                        colour[side] += brightness(t.image, x, y), albedo[side] += brightness(unlit, x, y);
                        ++count[side];
                    }
                ASSERT_GT(count[0], 50) << width << " " << seed << " " << index;
                ASSERT_GT(count[1], 50) << width << " " << seed << " " << index;
                colour_ratio += colour[1] / count[1] / (colour[0] / count[0]);
                albedo_ratio += albedo[1] / count[1] / (albedo[0] / count[0]);
                ++drawn;
            }
        }
    EXPECT_GT(colour_ratio / drawn, 1.25) << "the left wall painted in shade";
    EXPECT_NEAR(albedo_ratio / drawn, 1.0, 0.03);
}

TEST(Albedo, MountainBrightnessNoLongerFollowsThePaintedLight) {
    const PaintedLight& light = kind_named("mountain")->painted_light;
    const double a = light.azimuth * std::numbers::pi / 180.0, e = light.elevation * std::numbers::pi / 180.0;
    const double lx = std::cos(e) * std::cos(a), ly = std::cos(e) * std::sin(a), lz = std::sin(e);
    // Correlation of brightness with the painted light's Lambert term over
    // the relief of many mountains, colour and albedo.
    struct Sums {
        double n = 0, b = 0, bb = 0, l = 0, ll = 0, bl = 0;
        void add(double brightness, double lambert) {
            n += 1, b += brightness, bb += brightness * brightness, l += lambert, ll += lambert * lambert;
            bl += brightness * lambert;
        }
        double correlation() const { return (bl - b * l / n) / std::sqrt((bb - b * b / n) * (ll - l * l / n)); }
    } colour, albedo;
    auto app = std::make_unique<Application>(create_app_state());
    for (const char* width : {"64", "128", "200"}) {
        const RenderSettings mountains =
            albedo_settings({"--kind", "mountain", "--transparent", "--seed", "8", "--iso-width", width});
        for (int index = 0; index < 4; ++index) {
            const RenderedTile t = render_tile(*app, mountains, index);
            const RasterImage unlit = whole_albedo(t.lighting_maps, t.image);
            for (int y = 0; y < t.image.height(); ++y)
                for (int x = 0; x < t.image.width(); ++x) {
                    const Normal m = normal_at(t, x, y);
                    if (!painted(t, x, y) || m.z > 0.999) continue;  // the relief, not the ground
                    const double lambert = std::max(0.0, m.x * lx + m.y * ly + m.z * lz);
                    colour.add(brightness(t.image, x, y), lambert);
                    albedo.add(brightness(unlit, x, y), lambert);
                }
        }
    }
    EXPECT_GT(colour.correlation(), 0.25);
    EXPECT_LT(std::abs(albedo.correlation()), 0.1);
}
