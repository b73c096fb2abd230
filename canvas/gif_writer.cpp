#include "canvas/gif_writer.hpp"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

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

int squared_distance(Colour c, const GifColorType& entry) {
    const int dr = red(c) - entry.Red, dg = green(c) - entry.Green, db = blue(c) - entry.Blue;
    return dr * dr + dg * dg + db * db;
}

GifPixelType nearest_entry(Colour c, const GifColorType* colours, int size, GifPixelType start) {
    GifPixelType best = start;
    int best_distance = squared_distance(c, colours[start]);
    for (int k = 0; k < size && best_distance > 0; ++k)
        if (const int d = squared_distance(c, colours[k]); d < best_distance)
            best = static_cast<GifPixelType>(k), best_distance = d;
    return best;
}

// A frame's painted pixels as indices into a palette of its own: one
// palette over all the frames of a map would share its colours among every
// terrain shown and put water's blues into grass.
bool quantize(const RasterImage& frame, const std::vector<std::uint8_t>* alpha, GifPixelType* indices,
              GifColorType* colours) {
    const std::size_t area = static_cast<std::size_t>(frame.width()) * frame.height();
    std::vector<GifByteType> r, g, b;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (painted(alpha, static_cast<std::size_t>(y) * frame.width() + x)) {
                const Colour c = frame.pixel(x, y);
                r.push_back(static_cast<GifByteType>(red(c)));
                g.push_back(static_cast<GifByteType>(green(c)));
                b.push_back(static_cast<GifByteType>(blue(c)));
            }
    std::fill_n(indices, area, transparent_index);
    if (r.empty()) return true;
    std::vector<GifByteType> packed(r.size());
    int size = palette_size - 1;
    {
        // giflib's quantizer keeps the axis it sorts along in a global: two
        // threads quantizing at once would pick each other's, and the same
        // tile would come out differently with --jobs. One at a time keeps it
        // exact.
        static std::mutex quantizer;
        const std::lock_guard one_at_a_time(quantizer);
        if (GifQuantizeBuffer(static_cast<unsigned>(r.size()), 1, &size, r.data(), g.data(), b.data(), packed.data(),
                              colours) == GIF_ERROR)
            return false;
    }
    // Median cut gives each pixel its box's mean, which for a colour at the
    // edge of a large box can be far off while another entry is close: each
    // colour takes the nearest entry instead.
    std::unordered_map<Colour, GifPixelType> nearest;
    std::size_t next = 0;
    for (std::size_t at = 0; at < area; ++at) {
        if (!painted(alpha, at)) continue;
        const std::size_t k = next++;
        const Colour c = rgb(r[k], g[k], b[k]);
        const auto [entry, fresh] = nearest.try_emplace(c, packed[k]);
        if (fresh) entry->second = nearest_entry(c, colours, size, packed[k]);
        indices[at] = entry->second;
    }
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
    const std::size_t area = static_cast<std::size_t>(width) * height;
    std::vector<GifPixelType> indices(area * frames.size());
    std::vector<GifColorType> colours(palette_size * frames.size(), GifColorType{0, 0, 0});
    for (std::size_t f = 0; f < frames.size(); ++f)
        if (!quantize(*frames[f], alpha, &indices[f * area], &colours[f * palette_size])) return out;
    std::vector<std::unique_ptr<ColorMapObject, MapFreer>> maps;
    for (std::size_t f = 0; f < frames.size(); ++f) {
        maps.emplace_back(GifMakeMapObject(palette_size, &colours[f * palette_size]));
        if (!maps.back()) return out;
    }

    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&out, append_bytes, &error));
    if (!gif) return {};
    EGifSetGifVersion(gif.get(), true);
    // The first frame's palette is the global one; the others bring their own.
    if (EGifPutScreenDesc(gif.get(), width, height, 8, transparent_index, maps[0].get()) == GIF_ERROR) return {};
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
    for (std::size_t f = 0; f < frames.size(); ++f) {
        const std::size_t length = EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_ERROR ||
            EGifPutImageDesc(gif.get(), 0, 0, width, height, false, f == 0 ? nullptr : maps[f].get()) == GIF_ERROR)
            return {};
        for (int y = 0; y < height; ++y)
            if (EGifPutLine(gif.get(), &indices[f * area + static_cast<std::size_t>(y) * width], width) == GIF_ERROR)
                return {};
    }
    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) return {};
    return out;
}
