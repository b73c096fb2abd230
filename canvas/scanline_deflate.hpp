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
    ScanlineDeflater(const ScanlineDeflater&) = delete;
    ScanlineDeflater& operator=(const ScanlineDeflater&) = delete;

    // The stream, in the deflater's own memory until its next image.
    std::span<const std::uint8_t> deflate(const std::uint8_t* rows, std::size_t stride, int height, int pixel_bytes);

    // The same stream, byte for byte, for an image given a row at a time and
    // never held whole: begin(), each row in turn to add_row(), then
    // finish(). Each returns the stream's next bytes (often none), valid
    // until the next call; only the window's 32 KB and a row or two are kept.
    void begin(std::size_t stride, int height, int pixel_bytes);
    std::span<const std::uint8_t> add_row(const std::uint8_t* row);
    std::span<const std::uint8_t> finish();

private:
    // Rows next_row_ to end_row, whose bytes (and the window before them and
    // a copy's reach after) lie in data, data[0] being the image's byte
    // `base`; the last rows end the stream.
    void deflate_rows(const std::uint8_t* data, std::size_t base, int end_row, bool last);
    std::span<const std::uint8_t> take_bytes();

    // Where three bytes were last seen, two places by their hash, each as
    // clock_ + the place.
    // The clock moves on by more than a window each image, so what an
    // earlier image left is too far back to be tried (a place is checked
    // byte for byte before it is used in any case).
    std::vector<std::uint32_t> last_seen_;
    std::uint32_t clock_ = 0;
    std::vector<DeflateSymbol> block_;
    std::vector<std::uint8_t> stream_;
    DeflateBits bits_{stream_, 2};

    // The image under way.
    std::size_t stride_ = 0, total_ = 0;
    int height_ = 0, pixel_bytes_ = 0;
    int next_row_ = 0;        // the first row not yet deflated
    std::size_t at_ = 0;      // the next byte to send
    std::uint8_t before_ = 0;  // the byte before it
    std::size_t held_ = 0;    // symbols in the block
    std::uint32_t adler_ = 1;
    // A row at a time: the rows given and not yet let go, from byte kept_from_.
    std::vector<std::uint8_t> kept_;
    std::size_t kept_from_ = 0;
    int rows_in_ = 0;
    std::size_t finished_at_ = 0;  // the stream's length once ended
    bool final_taken_ = false;
};
