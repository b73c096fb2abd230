#pragma once
#include "export/render_settings.hpp"

#include <cstdio>

// brannoc-render world: draws the world (or, with --shard K/N, chunk K of
// it) and writes its files into --out all or none; problems and the
// summary go to `report`. Returns the exit code.
int run_world(const RenderSettings& settings, std::FILE* report);
