#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <vector>

// The lighting maps of a tile, cut from the surface ids the generators
// painted beside the canvas. Only the box the surfaces marked is kept (on a
// tree, a fifth of the canvas): everywhere else the tile is flat ground at
// height 0, and its albedo is its colour.
struct LightingMaps {
    int left = 0, top = 0;               // the box's top left in the tile's image
    RasterImage normals;                 // the box's: r, g, b = 127.5 (n + 1), rounded
    std::vector<std::uint16_t> heights;  // the box's pixels above the ground, row-major
    RasterImage albedo;                  // the box's colour unlit, when has_albedo
    bool has_albedo = false;

    // Any pixel of the tile, in or out of the box.
    Colour normal_at(int x, int y) const;
    std::uint16_t height_at(int x, int y) const;
    Colour albedo_at(const RasterImage& colour, int x, int y) const;
    // Row y of the tile, `width` pixels: 3 bytes a pixel for the normals and
    // the albedo (whose colour is the tile's), a value a pixel for the heights.
    void normals_row(int y, int width, std::uint8_t* out) const;
    void heights_row(int y, int width, std::uint16_t* out) const;
    void albedo_row(const RasterImage& colour, int y, std::uint8_t* out) const;
};

// Flat ground's normal, (0, 0, 1), encoded.
inline constexpr Colour flat_normal = rgb(128, 128, 255);

// The maps as whole images of the tile's size.
RasterImage whole_normals(const LightingMaps& maps, int width, int height);
RasterImage whole_albedo(const LightingMaps& maps, const RasterImage& colour);
