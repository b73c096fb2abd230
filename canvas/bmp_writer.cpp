#include "canvas/bmp_writer.hpp"

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xffffu);
    put16(out, v >> 16);
}

std::uint32_t pixel_block_size(const RasterImage& image) {
    return static_cast<std::uint32_t>(bmp_stride(image.width())) * static_cast<std::uint32_t>(image.height());
}

void append_info_header(std::vector<std::uint8_t>& out, const RasterImage& image) {
    put32(out, bmp_info_header_size);
    put32(out, static_cast<std::uint32_t>(image.width()));
    put32(out, static_cast<std::uint32_t>(image.height()));  // positive: bottom-up
    put16(out, 1);                                           // planes
    put16(out, 24);                                          // bits per pixel
    put32(out, 0);                                           // no compression
    put32(out, pixel_block_size(image));
    put32(out, 0);  // resolutions, colours used, important colours
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
}

void append_pixel_block(std::vector<std::uint8_t>& out, const RasterImage& image) {
    const std::size_t stride = static_cast<std::size_t>(bmp_stride(image.width()));
    const std::size_t start = out.size();
    out.resize(start + stride * static_cast<std::size_t>(image.height()), 0);
    std::uint8_t* dest = out.data() + start;
    for (int y = image.height() - 1; y >= 0; --y, dest += stride) {
        const std::uint8_t* src = image.row(y);
        for (int x = 0; x < image.width(); ++x, src += 3) {
            dest[3 * x] = src[2];
            dest[3 * x + 1] = src[1];
            dest[3 * x + 2] = src[0];
        }
    }
}

}  // namespace

std::vector<std::uint8_t> bmp_pixel_block(const RasterImage& image) {
    std::vector<std::uint8_t> out;
    append_pixel_block(out, image);
    return out;
}

std::vector<std::uint8_t> bmp_file_bytes(const RasterImage& image) {
    std::vector<std::uint8_t> out;
    out.reserve(bmp_header_size + pixel_block_size(image));
    out.push_back('B');
    out.push_back('M');
    put32(out, bmp_header_size + pixel_block_size(image));
    put16(out, 0);
    put16(out, 0);
    put32(out, bmp_header_size);
    append_info_header(out, image);
    append_pixel_block(out, image);
    return out;
}

std::vector<std::uint8_t> packed_dib_bytes(const RasterImage& image) {
    std::vector<std::uint8_t> out;
    out.reserve(bmp_info_header_size + pixel_block_size(image));
    append_info_header(out, image);
    append_pixel_block(out, image);
    return out;
}

WriteResult write_bmp(const RasterImage& image, const std::string& path) {
    if (image.empty() || path.empty()) return {false, "no image or no file name"};
    return write_file_safely(path, bmp_file_bytes(image));
}
