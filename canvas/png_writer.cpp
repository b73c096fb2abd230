#include "canvas/png_writer.hpp"

#include "canvas/nonzero_span.hpp"
#include "canvas/scanline_deflate.hpp"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {
// Large images are split over several IDAT chunks, each far below PNG's
// limit of 2^31 - 1 bytes.
constexpr std::size_t largest_idat = std::size_t{1} << 24;

struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// The deflaters and scratch buffers of a thread, kept between tiles: making
// a compressor costs more than deflating a small tile.
struct Scratch {
    ScanlineDeflater deflater;
    std::unique_ptr<libdeflate_compressor, CompressorFree> window_compressor;
    std::vector<std::uint8_t> rows;
    std::vector<std::uint8_t> deflated;
    std::vector<std::uint8_t> row;
    std::vector<std::uint16_t> grey;
};

void put_u32(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value >> 24);
    at[1] = static_cast<std::uint8_t>(value >> 16);
    at[2] = static_cast<std::uint8_t>(value >> 8);
    at[3] = static_cast<std::uint8_t>(value);
}

// Length, type, data and the CRC of type and data.
void append_chunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::uint8_t* data, std::size_t size) {
    const std::size_t start = out.size();
    out.resize(start + 12 + size);
    std::uint8_t* at = out.data() + start;
    put_u32(at, static_cast<std::uint32_t>(size));
    std::memcpy(at + 4, type, 4);
    if (size > 0) std::memcpy(at + 8, data, size);
    put_u32(at + 8 + size, static_cast<std::uint32_t>(libdeflate_crc32(0, at + 4, size + 4)));
}

// A scanline as PNG stores it: a filter byte (0, none) and the row's bytes,
// the alpha interleaved. Where colour and alpha are both zero, as around
// what a tile paints, the row is zeroed at once.
void fill_rgba_row(const std::uint8_t* rgb, const std::uint8_t* a, std::size_t w, std::uint8_t* out) {
    *out++ = 0;
    const NonzeroSpan colour = nonzero_span(rgb, 3 * w), covered = nonzero_span(a, w);
    const std::size_t first = std::min(colour.first / 3, covered.first);
    const std::size_t end = std::max((colour.end + 2) / 3, covered.end);
    if (first >= end) {
        std::memset(out, 0, 4 * w);
        return;
    }
    std::memset(out, 0, 4 * first);
    std::memset(out + 4 * end, 0, 4 * (w - end));
    for (std::size_t x = first; x < end; ++x) {
        std::uint8_t* p = out + 4 * x;
        p[0] = rgb[3 * x];
        p[1] = rgb[3 * x + 1];
        p[2] = rgb[3 * x + 2];
        p[3] = a[x];
    }
}

void fill_rows(int width, int height, const RgbRow& row, const std::vector<std::uint8_t>* alpha, Scratch& scratch) {
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t stride = 1 + w * (alpha ? 4 : 3);
    scratch.rows.resize(stride * static_cast<std::size_t>(height));
    if (alpha) scratch.row.resize(3 * w);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = scratch.rows.data() + stride * static_cast<std::size_t>(y);
        if (!alpha) {
            *out++ = 0;
            row(y, out);
            continue;
        }
        row(y, scratch.row.data());
        fill_rgba_row(scratch.row.data(), alpha->data() + w * static_cast<std::size_t>(y), w, out);
    }
}

// The signature and IHDR.
void append_header(std::vector<std::uint8_t>& out, int width, int height, std::uint8_t bit_depth,
                   std::uint8_t colour_type) {
    out.insert(out.end(), {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'});
    std::array<std::uint8_t, 13> header{};
    put_u32(&header[0], static_cast<std::uint32_t>(width));
    put_u32(&header[4], static_cast<std::uint32_t>(height));
    header[8] = bit_depth;
    header[9] = colour_type;  // compression, filter and interlace methods 0
    append_chunk(out, "IHDR", header.data(), header.size());
}

Scratch& thread_scratch() {
    thread_local Scratch scratch;
    return scratch;
}

// The file around scanlines already in scratch.rows.
std::optional<std::vector<std::uint8_t>> png_of_rows(Scratch& scratch, int width, int height, std::uint8_t bit_depth,
                                                     std::uint8_t colour_type, int pixel_bytes,
                                                     PngDeflater deflater) {
    std::span<const std::uint8_t> deflated;
    if (deflater == PngDeflater::libdeflate) {
        if (!scratch.window_compressor) scratch.window_compressor.reset(libdeflate_alloc_compressor(2));
        if (!scratch.window_compressor) return std::nullopt;
        libdeflate_compressor* c = scratch.window_compressor.get();
        scratch.deflated.resize(libdeflate_zlib_compress_bound(c, scratch.rows.size()));
        const std::size_t size = libdeflate_zlib_compress(c, scratch.rows.data(), scratch.rows.size(),
                                                          scratch.deflated.data(), scratch.deflated.size());
        if (size == 0) return std::nullopt;
        deflated = {scratch.deflated.data(), size};
    } else {
        deflated = scratch.deflater.deflate(scratch.rows.data(),
                                            scratch.rows.size() / static_cast<std::size_t>(height), height, pixel_bytes);
    }
    const std::size_t deflated_size = deflated.size();

    std::vector<std::uint8_t> out;
    out.reserve(33 + deflated_size + 12 * (deflated_size / largest_idat + 1) + 12);
    append_header(out, width, height, bit_depth, colour_type);
    for (std::size_t at = 0; at < deflated_size; at += largest_idat)
        append_chunk(out, "IDAT", deflated.data() + at, std::min(largest_idat, deflated_size - at));
    append_chunk(out, "IEND", nullptr, 0);
    return out;
}

std::optional<std::vector<std::uint8_t>> rgb_png(int width, int height, const RgbRow& row,
                                                 const std::vector<std::uint8_t>* alpha, PngDeflater deflater) {
    if (width < 1 || height < 1) return std::nullopt;
    if (alpha && alpha->size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return std::nullopt;
    Scratch& scratch = thread_scratch();
    fill_rows(width, height, row, alpha, scratch);
    return png_of_rows(scratch, width, height, 8, alpha ? 6 : 2, alpha ? 4 : 3, deflater);  // RGBA or RGB
}
}  // namespace

std::optional<std::vector<std::uint8_t>> encode_png(const RasterImage& image, const std::vector<std::uint8_t>* alpha,
                                                    PngDeflater deflater) {
    return rgb_png(
        image.width(), image.height(),
        [&image](int y, std::uint8_t* out) {
            std::memcpy(out, image.row(y), 3 * static_cast<std::size_t>(image.width()));
        },
        alpha, deflater);
}

std::optional<std::vector<std::uint8_t>> encode_png_rows(int width, int height, const RgbRow& row,
                                                         const std::vector<std::uint8_t>* alpha) {
    return rgb_png(width, height, row, alpha, PngDeflater::scanlines);
}

std::optional<std::vector<std::uint8_t>> encode_png_grey16(int width, int height,
                                                           const std::vector<std::uint16_t>& grey,
                                                           const std::vector<std::uint8_t>* alpha) {
    if (grey.size() != static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0)))
        return std::nullopt;
    return encode_png_grey16_rows(
        width, height,
        [&grey, width](int y, std::uint16_t* out) {
            std::copy_n(&grey[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)], width, out);
        },
        alpha);
}

std::optional<std::vector<std::uint8_t>> encode_png_grey16_rows(int width, int height, const GreyRow& row,
                                                                const std::vector<std::uint8_t>* alpha) {
    const std::size_t pixels =
        static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0));
    if (width < 1 || height < 1 || (alpha && alpha->size() != pixels)) return std::nullopt;
    Scratch& scratch = thread_scratch();
    // Filter byte 0, then big-endian samples, the alpha's byte a as a x 257.
    const std::size_t channels = alpha ? 2 : 1;
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t stride = 1 + w * 2 * channels;
    scratch.rows.resize(stride * static_cast<std::size_t>(height));
    scratch.grey.resize(w);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = scratch.rows.data() + stride * static_cast<std::size_t>(y);
        *p++ = 0;
        row(y, scratch.grey.data());
        const std::uint8_t* a = alpha ? alpha->data() + w * static_cast<std::size_t>(y) : nullptr;
        for (std::size_t x = 0; x < w; ++x, p += 2 * channels) {
            p[0] = static_cast<std::uint8_t>(scratch.grey[x] >> 8);
            p[1] = static_cast<std::uint8_t>(scratch.grey[x] & 255);
            if (a) p[2] = p[3] = a[x];
        }
    }
    return png_of_rows(scratch, width, height, 16, alpha ? 4 : 0, alpha ? 4 : 2, PngDeflater::scanlines);  // grey and alpha, or grey
}

PngRowWriter::PngRowWriter(int width, int height, bool alpha, Sink sink)
    : width_(width), height_(height), alpha_(alpha), sink_(std::move(sink)),
      deflater_(std::make_unique<ScanlineDeflater>()) {
    ok_ = width > 0 && height > 0;
    if (!ok_) return;
    std::vector<std::uint8_t> head;
    append_header(head, width, height, 8, alpha ? 6 : 2);  // RGBA or RGB
    ok_ = sink_(head);
    const std::size_t w = static_cast<std::size_t>(width);
    row_.resize(1 + w * (alpha ? 4 : 3));
    deflater_->begin(row_.size(), height, alpha ? 4 : 3);
}

PngRowWriter::~PngRowWriter() = default;

bool PngRowWriter::add_row(const std::uint8_t* rgb, const std::uint8_t* alpha) {
    if (!ok_ || rows_ >= height_ || (alpha_ && !alpha)) return ok_ = false;
    const std::size_t w = static_cast<std::size_t>(width_);
    if (alpha_) fill_rgba_row(rgb, alpha, w, row_.data());
    else row_[0] = 0, std::memcpy(row_.data() + 1, rgb, 3 * w);
    ++rows_;
    return send(deflater_->add_row(row_.data()), false);
}

bool PngRowWriter::finish() {
    if (!ok_ || rows_ != height_) return ok_ = false;
    if (!send(deflater_->finish(), true)) return false;
    std::vector<std::uint8_t> end;
    append_chunk(end, "IEND", nullptr, 0);
    return ok_ = sink_(end);
}

// The stream cut into IDAT chunks as encode_png cuts it: whole ones of
// largest_idat bytes, then the rest.
bool PngRowWriter::send(std::span<const std::uint8_t> deflated, bool last) {
    idat_.insert(idat_.end(), deflated.begin(), deflated.end());
    std::size_t at = 0;
    std::vector<std::uint8_t> chunk;
    while (ok_ && (idat_.size() - at >= largest_idat || (last && at < idat_.size()))) {
        const std::size_t n = std::min(largest_idat, idat_.size() - at);
        chunk.clear();
        append_chunk(chunk, "IDAT", idat_.data() + at, n);
        ok_ = sink_(chunk);
        at += n;
    }
    idat_.erase(idat_.begin(), idat_.begin() + static_cast<std::ptrdiff_t>(at));
    return ok_;
}
