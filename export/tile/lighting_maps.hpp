#pragma once
#include "canvas/raster_image.hpp"
#include "canvas/surface_ids.hpp"

#include <cstdint>
#include <memory>
#include <vector>

// The lighting maps of a tile, cut from the surface ids the generators
// painted beside the canvas.
struct LightingMaps {
    RasterImage normals;                 // r, g, b = 127.5 (n + 1), rounded
    std::vector<std::uint16_t> heights;  // pixels above the ground, row-major
    RasterImage albedo;                  // the colour unlit, when the map kept the painted light
};

// The pixels a surface painted, or (when the map keeps the painted light)
// painted with a light, each with its surface and light, row by row. Taken
// from the map right after the draw, while it is still at hand.
struct MarkedPixels {
    struct Place {
        std::uint16_t x, y;  // in the map's pixels (a tile canvas is a few hundred across)
    };
    std::unique_ptr<Place[]> place;
    std::unique_ptr<SurfaceId[]> id;
    std::unique_ptr<float[]> light;  // when the map keeps the light
    std::size_t count = 0;
};
MarkedPixels marked_pixels(const SurfaceIds& map);

// The maps of the rectangle (left, top, width, height) of the map's canvas,
// from its marked pixels; outside them a pixel is flat ground. Given the
// colour of that rectangle (width x height) and a map that kept the painted
// light, the albedo too: the colour with the light the generators painted
// taken out, each pixel over its painted light factor, rounded and held
// within 0..255.
LightingMaps lighting_maps_of(const SurfaceIds& map, const MarkedPixels& marked, int left, int top, int width,
                              int height, const RasterImage* colour = nullptr);

// One directional light: azimuth in degrees counter-clockwise from the
// screen's right (90 from the top of the screen, 180 from the left),
// elevation in degrees above the picture's plane.
struct Light {
    double azimuth = 135.0;
    double elevation = 45.0;
};

// Share of the colour every pixel keeps in the dark.
inline constexpr double ambient_light = 0.35;

// The colour lit through the normals: colour x (ambient + (1 - ambient) x
// max(0, n . l)), where flat ground under a light straight above keeps its colour.
RasterImage lit_image(const RasterImage& colour, const RasterImage& normals, const Light& light);
