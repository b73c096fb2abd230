#pragma once
#include "export/render_settings.hpp"

#include <cstdio>

// Draws and writes a whole run: the tiles on `jobs` threads, each with its
// own state and random stream, and the manifest as they finish. The run
// holds a lock beside its manifest; the old manifest is replaced at the
// start by one that says "complete": false, and only a finished run's says
// true. SIGINT and SIGTERM stop it after the tiles being drawn, with the
// manifest listing exactly the tiles written. Reports progress (on a
// terminal) and a summary, or one line of failure, on `report`. Returns the
// exit code: 0 done, 1 a file could not be written, 2 the outputs cannot be
// written (nothing written), 130 or 143 stopped by SIGINT or SIGTERM.
int run_batch(const RenderSettings& settings, std::FILE* report);
