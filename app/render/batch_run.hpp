#pragma once
#include "export/render_settings.hpp"

#include <cstdio>

// Draws and writes a whole run: the tiles on `jobs` threads, each with its
// own state and random stream, then the manifest. Reports progress (on a
// terminal) and a summary on `report`. Returns the exit code: 0 done, 1 a
// file could not be written, 2 the output folder cannot be written.
int run_batch(const RenderSettings& settings, std::FILE* report);

