#pragma once
#include "export/map/map_model.hpp"

#include <string>

// The .tmx text of a map, for Tiled 1.8 and later and the engines' Tiled
// importers: an isometric map over external tilesets (each MapTileset's
// .tsx, written beside it with tiled_tileset), tile layers with their pixel
// offsets and object layers of tile objects with their int properties.
// Layer data is zlib-compressed base64: a world's layers are mostly empty,
// and a 256 x 256 map of twenty layers comes out at a small fraction of its
// CSV (bench/README.md).
std::string world_tmx(const MapModel& map);
