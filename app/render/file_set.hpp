#pragma once
#include "canvas/file_output.hpp"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Writes a set of files that belong together (a sheet and its engine
// files, a world's maps and sheets) all or none: every file is made whole
// beside its place first, then each is put in place; a late failure puts
// back those already replaced, so no manifest describes files it did not
// write. `what` names the set in messages ("the sheet"). With
// `manifest_not_complete`, the last file is the set's manifest and that
// text, which says it is not complete, takes its place before any other
// file does: a run killed while the files go in leaves no manifest that
// says it is whole over files it does not describe. Returns the exit code:
// 0, 1 when a file could not be written, or the stop signal's.
// `streamed`: files of the set already written piece by piece into their
// writers (not yet finished), by path; they go in after the marker.
struct StreamedWrite {
    std::string path;
    std::unique_ptr<FileWriter> writer;
};
int publish_file_set(const std::vector<std::pair<std::string, std::string>>& files, const std::string& what,
                     std::FILE* report, const std::string* manifest_not_complete = nullptr,
                     std::vector<StreamedWrite> streamed = {});
