#pragma once
#include "canvas/png_writer.hpp"
#include "export/problem.hpp"
#include "export/render_settings.hpp"
#include "state/app_state.hpp"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Everything a world run (or one chunk of it) writes, made in memory: the
// sheets of the tiles and objects it places with their tilesets, the Tiled
// map, the Godot scenes, our own render of the map and the manifest. The
// same settings give the same bytes with any number of jobs.
struct WorldFiles {
    std::vector<std::pair<std::string, std::string>> files;  // (name in the output folder, bytes)
    Problem problem;       // why nothing can be written, in a sentence; none when the files are made
    bool stopped = false;  // the watch asked to stop (the problem says so too)
    int tiles = 0, objects = 0;
};

// Lets a front end follow a world being built on other threads, and stop it.
struct WorldWatch {
    std::function<void(double)> progress;  // how far it has come, 0 to 1, from any drawing thread
    std::function<bool()> stop;            // asked between tiles and steps, from any thread
};

// `prototype`: the started state (built-in or the user's textures) every
// drawing thread copies. The render of the map (stem.png, left out with
// --no-picture) is among the files, or with `picture` handed to it as it
// is encoded and never held (the manifest still lists it).
WorldFiles build_world(const RenderSettings& run, const AppState& prototype, const WorldWatch& watch = {},
                       const PngRowWriter::Sink* picture = nullptr);
