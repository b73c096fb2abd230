#pragma once
#include "canvas/deflate_block.hpp"

#include <cstdint>
#include <span>
#include <vector>

// PNG scanlines as the zlib stream (RFC 1950) an IDAT holds: `height` rows
// of `stride` bytes, each a filter byte and its samples, `pixel_bytes` to a
// pixel.
//
// Made for tiles, whose rows are mostly zero. The zeros before, between and
// after the bytes each row paints go out as copies of the byte before, found
// without a search and summed without being read, so they cost next to
// nothing however wide the margins. Only the rest is searched, for a repeat
// of the pixel before, of the pixel above, or of the last two places its
// first three bytes were seen. One deflater a thread, kept between images: its
// table of places is scratch memory.
class ScanlineDeflater {
public:
    ScanlineDeflater();
    // The stream, in the deflater's own memory until its next image.
    std::span<const std::uint8_t> deflate(const std::uint8_t* rows, std::size_t stride, int height, int pixel_bytes);

private:
    // Where three bytes were last seen, two places by their hash, each as
    // clock_ + the place.
    // The clock moves on by more than a window each image, so what an
    // earlier image left is too far back to be tried (a place is checked
    // byte for byte before it is used in any case).
    std::vector<std::uint32_t> last_seen_;
    std::uint32_t clock_ = 0;
    std::vector<DeflateSymbol> block_;
    std::vector<std::uint8_t> stream_;
};
