#pragma once
#include "commands/application.hpp"
#include "export/render_settings.hpp"
#include "export/tile/tile_render.hpp"
#include "generators/world/world_map.hpp"

// The sprites a world's objects show: trees and houses drawn by their own
// generators, boulders and bushes by the terrain's element painters, each
// alone on a transparent canvas, trimmed to what it paints, its anchor the
// centre of the diamond it stands on. Look k of a kind is the same sprite
// for a seed, whichever chunk asks for it.
RenderedTile render_world_object(Application& application, const RenderSettings& run, WorldObjectKind kind, int look);
