#pragma once
#include "canvas/raster_image.hpp"

#include <cstdint>
#include <vector>

// An animated GIF in memory, looping forever, for previews a person can play
// anywhere. Every frame has the first's size and a palette of its own of up
// to 255 colours (giflib's median cut; the first frame's is the global
// one, the others' local colour tables); with an
// alpha plane (one byte a pixel, as for PNG) pixels of alpha 0 are
// transparent in every frame. GIF counts time in hundredths of a second, so
// frame_ms is rounded to those (at least one). Empty when giflib fails.
std::vector<std::uint8_t> encode_gif(const std::vector<const RasterImage*>& frames,
                                     const std::vector<std::uint8_t>* alpha, int frame_ms);
