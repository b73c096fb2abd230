#include "png_io.hpp"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace texgen {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Owns a libpng read or write struct and its info struct; the two differ
// only in the functions that create and destroy them.
template <bool Writing>
class PngHandle {
public:
    PngHandle() {
        png_ = Writing ? png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr)
                       : png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        if (png_) info_ = png_create_info_struct(png_);
    }
    ~PngHandle() {
        if (Writing) png_destroy_write_struct(&png_, info_ ? &info_ : nullptr);
        else png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr);
    }
    PngHandle(const PngHandle&) = delete;
    PngHandle& operator=(const PngHandle&) = delete;
    bool ok() const { return png_ && info_; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};
using PngReader = PngHandle<false>;
using PngWriter = PngHandle<true>;

// libpng addresses an image as one pointer per row.
std::vector<png_bytep> row_pointers(PixelImage& image) {
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height()));
    const std::size_t stride = 3 * static_cast<std::size_t>(image.width());
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = image.bytes().data() + y * stride;
    return rows;
}

// libpng reports errors by longjmp; these helpers keep that inside one frame
// with no C++ objects that need unwinding.
bool write_rows(png_structp png, png_infop info, std::FILE* f, const PixelImage& image, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

bool read_header(png_structp png, png_infop info, std::FILE* f, PngInfo& out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, f);
    png_read_info(png, info);
    out.width = static_cast<int>(png_get_image_width(png, info));
    out.height = static_cast<int>(png_get_image_height(png, info));
    out.bit_depth = png_get_bit_depth(png, info);
    out.colour_type = png_get_color_type(png, info);
    out.interlace = png_get_interlace_type(png, info);
    return true;
}

bool read_body(png_structp png, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

File open_png(const std::string& path) {
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) return nullptr;
    png_byte sig[8];
    if (std::fread(sig, 1, 8, f.get()) != 8 || png_sig_cmp(sig, 0, 8) != 0) return nullptr;
    return f;
}

}  // namespace

bool write_png(const std::string& path, const PixelImage& image) {
    File f(std::fopen(path.c_str(), "wb"));
    if (!f) return false;
    PngWriter writer;
    if (!writer.ok()) return false;
    PixelImage copy = image;  // libpng wants non-const row pointers
    std::vector<png_bytep> rows = row_pointers(copy);
    return write_rows(writer.png(), writer.info(), f.get(), copy, rows);
}

std::optional<PngInfo> read_png_info(const std::string& path) {
    File f = open_png(path);
    if (!f) return std::nullopt;
    PngReader reader;
    if (!reader.ok()) return std::nullopt;
    png_set_sig_bytes(reader.png(), 8);
    PngInfo info;
    if (!read_header(reader.png(), reader.info(), f.get(), info)) return std::nullopt;
    return info;
}

std::optional<PixelImage> read_png(const std::string& path) {
    File f = open_png(path);
    if (!f) return std::nullopt;
    PngReader reader;
    if (!reader.ok()) return std::nullopt;
    png_set_sig_bytes(reader.png(), 8);
    PngInfo info;
    if (!read_header(reader.png(), reader.info(), f.get(), info)) return std::nullopt;
    if (info.bit_depth != 8 || info.colour_type != PNG_COLOR_TYPE_RGB || info.interlace != PNG_INTERLACE_NONE)
        return std::nullopt;
    PixelImage image(info.width, info.height);
    std::vector<png_bytep> rows = row_pointers(image);
    if (!read_body(reader.png(), rows)) return std::nullopt;
    return image;
}

}  // namespace texgen
