#pragma once
#include "commands/application.hpp"
#include "export/tile/tile_render.hpp"
#include "generators/world/world_map.hpp"

// The sprites a world's objects show: trees and houses drawn by their own
// generators, boulders and bushes by the terrain's element painters, each
// alone on a transparent canvas, trimmed to what it paints, its anchor the
// centre of the diamond it stands on. Look k of a kind is the same sprite
// for a seed, whichever chunk asks for it.

// What draws a kind's sprites: the run's tile drawing, with what the world
// decides (the kind, its controls and stream, one still transparent image).
TileRequest world_object_request(const TileRequest& run, WorldObjectKind kind);

// Look `look` of the kind, from its request.
RenderedTile render_world_object(Application& application, const TileRequest& request, WorldObjectKind kind, int look);
