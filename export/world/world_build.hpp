#pragma once
#include "canvas/png_writer.hpp"
#include "export/problem.hpp"
#include "export/render_settings.hpp"
#include "state/app_state.hpp"

#include <string>
#include <utility>
#include <vector>

// Everything a world run (or one chunk of it) writes, made in memory: the
// sheets of the tiles and objects it places with their tilesets, the Tiled
// map, the Godot scenes, our own render of the map and the manifest. The
// same settings give the same bytes with any number of jobs.
struct WorldFiles {
    std::vector<std::pair<std::string, std::string>> files;  // (name in the output folder, bytes)
    Problem problem;  // why nothing can be written, in a sentence; none when the files are made
    int tiles = 0, objects = 0;
};

// `prototype`: the started state (built-in or the user's textures) every
// drawing thread copies. The render of the map (stem.png, left out with
// --no-picture) is among the files, or with `picture` handed to it as it
// is encoded and never held (the manifest still lists it).
WorldFiles build_world(const RenderSettings& run, const AppState& prototype,
                       const PngRowWriter::Sink* picture = nullptr);
