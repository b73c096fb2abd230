// libFuzzer target: a user's texture sheet is untrusted input, and decoding
// it must survive any bytes (no crash, no leak, no read out of bounds).
#include "canvas/png_image.hpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const DecodedSheet small = decode_texture_png(bytes, 256, 256);
    if (small.image && (small.image->width() != 256 || small.image->height() != 256)) __builtin_trap();
    (void)decode_texture_png(bytes, 1, 1);
    return 0;
}
