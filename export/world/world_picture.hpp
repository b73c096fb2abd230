#pragma once
#include "canvas/png_writer.hpp"
#include "export/formats/world_manifest.hpp"
#include "export/problem.hpp"
#include "export/map/map_model.hpp"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A world's render of its map (stem.png) encoded as it is drawn, a band of
// rows at a time, each piece of the file handed to `sink` as it is made:
// the picture is never held whole, so a world of any size draws in flat
// memory. The bytes are those of the whole image encoded at once. The map
// must be drawable (map_composite_problem).
struct WrittenPicture {
    bool ok = false;  // false: the sink refused a piece
    std::uint64_t bytes = 0;
    std::string fnv1a64;  // the file's content hash, as a manifest lists it
};
WrittenPicture write_map_picture(const MapModel& model, int jobs, const PngRowWriter::Sink& sink);

// The picture `name` of a world's files: made in memory among `files`, or
// with a sink written to it and listed in `streamed` for the manifest.
Problem add_world_picture(const MapModel& model, const std::string& name, int jobs, const PngRowWriter::Sink* sink,
                          std::vector<std::pair<std::string, std::string>>& files, std::vector<StreamedFile>& streamed);
