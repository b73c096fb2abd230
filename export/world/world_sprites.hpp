#pragma once
#include "commands/application.hpp"
#include "export/tile/tile_render.hpp"
#include "generators/world/world_looks.hpp"
#include "generators/world/world_palettes.hpp"

// The sprites a world's objects show, one a look: trees, houses and
// mountains drawn by their own generators, boulders and bushes by the
// terrain's element painters, each alone on a transparent canvas, trimmed to
// what it paints, its anchor the centre of the diamond it stands on (a
// tree's foot, a mountain's middle). What the palette grows decides the
// species' leaves, the bushes' colours, the boulders and the mountains'
// rock. Look k of a kind is the same sprite for a seed and palette,
// whichever chunk asks for it.

// What draws a look: the run's tile drawing, with what the world decides
// (the kind, its controls, textures and stream, the width the look is drawn
// at, one still transparent image).
TileRequest world_object_request(const TileRequest& run, const WorldPalette& palette, WorldObjectKind kind, int look);

// Look `look` of the kind, from its request, finished as the world
// finishes it on a map of tiles `map_width` wide (world_sprite_finish.hpp).
RenderedTile render_world_object(Application& application, const TileRequest& request, const WorldPalette& palette,
                                 WorldObjectKind kind, int look, int map_width);
