#include "export/world/world_picture.hpp"

#include "canvas/content_hash.hpp"
#include "export/map/map_composite.hpp"

WrittenPicture write_map_picture(const MapModel& model, int jobs, const PngRowWriter::Sink& sink) {
    WrittenPicture out;
    ContentHash hash;
    const MapFrame frame = map_frame(model);
    PngRowWriter png(frame.width, frame.height, true, [&](std::span<const std::uint8_t> piece) {
        hash.add(piece.data(), piece.size());
        out.bytes += piece.size();
        return sink(piece);
    });
    const std::size_t width = static_cast<std::size_t>(frame.width);
    out.ok = composite_map_bands(model, jobs, [&](int, const Sheet& band) {
                 for (int y = 0; y < band.image.height(); ++y)
                     if (!png.add_row(band.image.row(y), band.alpha.data() + width * static_cast<std::size_t>(y)))
                         return false;
                 return true;
             }) &&
             png.finish();
    out.fnv1a64 = hash.hex();
    return out;
}

Problem add_world_picture(const MapModel& model, const std::string& name, int jobs, const PngRowWriter::Sink* sink,
                          std::vector<std::pair<std::string, std::string>>& files, std::vector<StreamedFile>& streamed) {
    if (sink) {
        const WrittenPicture written = write_map_picture(model, jobs, *sink);
        if (!written.ok) return "the world's image " + name + " could not be written";
        streamed.push_back({name, written.bytes, written.fnv1a64});
        return std::nullopt;
    }
    std::string bytes;
    const WrittenPicture written = write_map_picture(model, jobs, [&bytes](std::span<const std::uint8_t> piece) {
        bytes.append(reinterpret_cast<const char*>(piece.data()), piece.size());
        return true;
    });
    if (!written.ok) return "the world's image " + name + " could not be encoded";
    files.emplace_back(name, std::move(bytes));
    return std::nullopt;
}
