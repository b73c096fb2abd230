#pragma once
#include "canvas/raster_image.hpp"
#include "export/tile/lighting_maps.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <vector>

// One tile of a batch, drawn from the same start every time: the settings'
// controls over the defaults, their texture picks, and the tile's own random
// stream. What the window would show, plus what it painted.
struct RenderedTile {
    RasterImage image;  // the render canvas, or its painted box with --trim
    // 255 where painted, 0 elsewhere (same size as image); an over tile's
    // edges between, their colour in image unpremultiplied.
    std::vector<std::uint8_t> alpha;
    // Where image's top left stands on the window's 260 x 260 canvas:
    // negative where it reaches past that canvas's top or left edge.
    int left = 0, top = 0;
    int anchor_x = 0, anchor_y = 0;  // the diamond's centre, in image pixels
    std::uint64_t seed = 0;          // of the tile's stream
    // The settings the tile was drawn with, by option name: a --settings
    // file as it is, which draws this tile again byte for byte.
    nlohmann::json drawn;
    nlohmann::json textures;  // the texture cells and grass colour it shows
    // With moving water, frames 1 and on of the loop (image is frame 0), the
    // same size and anchor; everything but the water equal in all of them,
    // so alpha is theirs too.
    std::vector<RasterImage> later_frames;
    int corners = -1;            // a transition tile's corner mask; -1 for other kinds
    LightingMaps lighting_maps;  // its normals, heights and albedo, when asked for
};
