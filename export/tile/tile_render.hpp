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

// Draws tile `index` on the application's canvas as it is, over black,
// exactly as the window draws it on its own.
void draw_seeded_tile(Application& application, const TileRequest& settings, int index);

// Paints a tile in place of its kind's own draw, on the started context:
// over the request's background, with its surfaces and random source.
using TilePainter = std::function<void(TileContext& context)>;

// Draws tile `index` with a started application (its own state, controls and
// random source). Coverage is found by drawing twice over two backgrounds:
// the generators never read the canvas, so a painted pixel comes out the same
// on both and an unpainted one shows each background; an over tile's edges,
// laid over the background, show it in part. With a painter the tile is
// what it paints, with no record to draw it again.
RenderedTile render_tile(Application& application, const TileRequest& settings, int index,
                         const TilePainter& paint = {});
