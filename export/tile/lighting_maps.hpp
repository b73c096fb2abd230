#pragma once
#include "canvas/raster_image.hpp"
#include "canvas/surface_ids.hpp"
#include "export/tile/lighting_map_box.hpp"

// The maps of the rectangle (left, top, width, height) of the canvas, kept
// over the box whose columns the surfaces marked; outside the map a pixel is
// flat ground. Given the rectangle's colour, the albedo too: the colour with the light
// the generators painted taken out, each pixel over its painted light
// factor, rounded and held within 0..255.
LightingMaps lighting_maps_of(const SurfaceIds& map, int left, int top, int width, int height,
                              const RasterImage* colour = nullptr);

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
