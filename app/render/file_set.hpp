#pragma once
#include "export/output/publish_files.hpp"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// publish_files (export/output/publish_files.hpp) for the renderer: a stop
// signal stops the set before anything is replaced, and what went wrong is
// one line on `report`. Returns the exit code: 0, 1 when a file could not
// be written, or the stop signal's.
int publish_file_set(const std::vector<std::pair<std::string, std::string>>& files, const std::string& what,
                     std::FILE* report, const std::string* manifest_not_complete = nullptr,
                     std::vector<StreamedWrite> streamed = {});
