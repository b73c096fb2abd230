#pragma once
#include "canvas/raster_image.hpp"
#include "canvas/surface_ids.hpp"

#include <cstdint>
#include <vector>

// The lighting maps of a tile, cut from the surface ids the generators
// painted beside the canvas.
struct LightingMaps {
    RasterImage normals;                 // r, g, b = 127.5 (n + 1), rounded
    std::vector<std::uint16_t> heights;  // pixels above the ground, row-major
    RasterImage albedo;                  // the colour unlit, when the map kept the painted light
};

// The rectangle (left, top, width, height) of the canvas; outside the map a
// pixel is flat ground.
LightingMaps lighting_maps_of(const SurfaceIds& map, int left, int top, int width, int height);

// The colour of the map's rectangle (left, top, as lighting_maps_of takes
// it) with the light the generators painted taken out: each pixel over its
// painted light factor, rounded and held within 0..255.
RasterImage albedo_of(const RasterImage& colour, const SurfaceIds& map, int left, int top);

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
