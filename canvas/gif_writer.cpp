#include "canvas/gif_writer.hpp"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

namespace {
constexpr int palette_size = 256;
constexpr GifPixelType transparent_index = 255;  // the quantizer gets the other 255

int append_bytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

struct GifCloser {
    void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};
struct MapFreer {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

bool painted(const std::vector<std::uint8_t>* alpha, std::size_t at) { return !alpha || (*alpha)[at] != 0; }

// Every frame's painted pixels as indices into one palette.
bool quantize(const std::vector<const RasterImage*>& frames, const std::vector<std::uint8_t>* alpha,
              std::vector<GifPixelType>& indices, GifColorType* colours) {
    const std::size_t area = static_cast<std::size_t>(frames[0]->width()) * frames[0]->height();
    std::vector<GifByteType> r, g, b;
    for (const RasterImage* frame : frames)
        for (int y = 0; y < frame->height(); ++y)
            for (int x = 0; x < frame->width(); ++x)
                if (painted(alpha, static_cast<std::size_t>(y) * frame->width() + x)) {
                    const Colour c = frame->pixel(x, y);
                    r.push_back(static_cast<GifByteType>(red(c)));
                    g.push_back(static_cast<GifByteType>(green(c)));
                    b.push_back(static_cast<GifByteType>(blue(c)));
                }
    indices.assign(area * frames.size(), transparent_index);
    if (r.empty()) return true;
    std::vector<GifByteType> packed(r.size());
    int size = palette_size - 1;
    // giflib's quantizer keeps the axis it sorts along in a global: two
    // threads quantizing at once would pick each other's, and the same tile
    // would come out differently with --jobs. One at a time keeps it exact.
    static std::mutex quantizer;
    const std::lock_guard one_at_a_time(quantizer);
    if (GifQuantizeBuffer(static_cast<unsigned>(r.size()), 1, &size, r.data(), g.data(), b.data(), packed.data(),
                          colours) == GIF_ERROR)
        return false;
    std::size_t next = 0;
    for (std::size_t f = 0; f < frames.size(); ++f)
        for (std::size_t at = 0; at < area; ++at)
            if (painted(alpha, at)) indices[f * area + at] = packed[next++];
    return true;
}
}  // namespace

std::vector<std::uint8_t> encode_gif(const std::vector<const RasterImage*>& frames,
                                     const std::vector<std::uint8_t>* alpha, int frame_ms) {
    std::vector<std::uint8_t> out;
    if (frames.empty()) return out;
    const int width = frames[0]->width(), height = frames[0]->height();
    for (const RasterImage* frame : frames)
        if (frame->width() != width || frame->height() != height) return out;
    GifColorType colours[palette_size];
    std::memset(colours, 0, sizeof colours);
    std::vector<GifPixelType> indices;
    if (!quantize(frames, alpha, indices, colours)) return out;
    const std::unique_ptr<ColorMapObject, MapFreer> map(GifMakeMapObject(palette_size, colours));
    if (!map) return out;

    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&out, append_bytes, &error));
    if (!gif) return {};
    EGifSetGifVersion(gif.get(), true);
    if (EGifPutScreenDesc(gif.get(), width, height, 8, transparent_index, map.get()) == GIF_ERROR) return {};
    // NETSCAPE2.0: loop for ever.
    static const GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType forever[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif.get(), sizeof netscape, netscape) == GIF_ERROR ||
        EGifPutExtensionBlock(gif.get(), sizeof forever, forever) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif.get()) == GIF_ERROR)
        return {};
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_BACKGROUND;  // a transparent pixel shows no earlier frame
    control.DelayTime = std::max(1, (frame_ms + 5) / 10);
    control.TransparentColor = alpha ? transparent_index : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t area = static_cast<std::size_t>(width) * height;
    for (std::size_t f = 0; f < frames.size(); ++f) {
        const std::size_t length = EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_ERROR ||
            EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) == GIF_ERROR)
            return {};
        for (int y = 0; y < height; ++y)
            if (EGifPutLine(gif.get(), &indices[f * area + static_cast<std::size_t>(y) * width], width) == GIF_ERROR)
                return {};
    }
    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) return {};
    return out;
}
