#pragma once
#include "commands/application.hpp"
#include "export/tile/tile_request.hpp"
#include "export/tile/rendered_tile.hpp"

#include <cstdint>
#include <functional>

// The stream of tile i of a run: independent of every other tile, so tile i
// is the same whatever the count.
std::uint64_t tile_seed(std::uint64_t run_seed, int index);
// The stream tile `index` of this run draws from: the one a manifest
// recorded (tile_stream, a run of one tile), or tile_seed's.
std::uint64_t stream_of(const TileRequest& settings, int index);

// Draws tile `index` on the application's canvas as it is, over the
// background: over black, exactly as the window draws it on its own.
void draw_seeded_tile(Application& application, const TileRequest& settings, int index,
                      Colour background = rgb(0, 0, 0));

// Paints a tile in place of its kind's own draw, on the started context:
// over the request's background, with its surfaces and random source.
using TilePainter = std::function<void(TileContext& context)>;

// Draws tile `index` with a started application (its own state, controls and
// random source). Coverage is what the draw records as it paints. An over
// tile's edges are laid over the background and show it in part, so its
// coverage is found by drawing twice, over black and over white: the
// generators never read the canvas, so the white draw stands 255 - alpha
// above the black one. With a painter the tile is what it paints, with no
// record to draw it again.
RenderedTile render_tile(Application& application, const TileRequest& settings, int index,
                         const TilePainter& paint = {});
