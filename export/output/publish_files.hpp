#pragma once
#include "canvas/file_output.hpp"
#include "export/problem.hpp"

#include <memory>

#include <functional>
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
// says it is whole over files it does not describe.
// `streamed`: files of the set already written piece by piece into their
// writers (not yet finished), by path; they go in after the marker.
struct StreamedWrite {
    std::string path;
    std::unique_ptr<FileWriter> writer;
};
struct PublishOutcome {
    Problem problem;      // why the set is not in place, in a sentence; none when it is
    int stop_signal = 0;  // the signal that stopped it before anything was replaced
};
// `stop_signal` is asked once every file is made: a signal then stops the
// set before anything is replaced.
PublishOutcome publish_files(const std::vector<std::pair<std::string, std::string>>& files, const std::string& what,
                             const std::string* manifest_not_complete = nullptr,
                             const std::function<int()>& stop_signal = {},
                             std::vector<StreamedWrite> streamed = {});
