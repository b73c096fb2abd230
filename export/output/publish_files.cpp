#include "export/output/publish_files.hpp"

#include "canvas/file_output.hpp"
#include "export/shown_text.hpp"

#include <csignal>
#include <memory>

PublishOutcome publish_files(const std::vector<std::pair<std::string, std::string>>& files, const std::string& what,
                             const std::string* manifest_not_complete, const std::function<int()>& stop_signal,
                             std::vector<StreamedWrite> streamed) {
    PublishOutcome outcome;
    std::vector<std::unique_ptr<FileWriter>> writers;
    const auto finished = [&](const std::string& path) {
        const WriteResult done = writers.back()->finish();
        if (!done.ok)
            outcome.problem =
                "cannot write " + shown_path(path) + ": " + done.error + "; nothing of " + what + " was written";
        return done.ok;
    };
    const auto made = [&](const std::string& path, const std::string& bytes) {
        writers.push_back(std::make_unique<FileWriter>(path));
        writers.back()->append(bytes);
        return finished(path);
    };
    for (StreamedWrite& file : streamed) {
        writers.push_back(std::move(file.writer));
        if (!finished(file.path)) return outcome;
    }
    const std::size_t first_file = writers.size();
    for (const auto& [path, bytes] : files)
        if (!made(path, bytes)) return outcome;
    // The marker goes first, and comes back out (the old manifest with it)
    // if the set cannot be put in place whole.
    const bool marked = manifest_not_complete && !files.empty();
    if (marked && !made(files.back().first, *manifest_not_complete)) return outcome;
    if (const int signal = stop_signal ? stop_signal() : 0) {
        outcome.problem = std::string("stopped by ") + (signal == SIGINT ? "SIGINT" : "SIGTERM") + ": nothing of " +
                          what + " was written";
        outcome.stop_signal = signal;
        return outcome;
    }
    // In order of publishing: the marker, then the files.
    std::vector<FileWriter*> order;
    std::vector<std::string> paths;
    if (marked) order.push_back(writers.back().get()), paths.push_back(files.back().first);
    for (std::size_t k = 0; k < streamed.size(); ++k) order.push_back(writers[k].get()), paths.push_back(streamed[k].path);
    for (std::size_t k = 0; k < files.size(); ++k)
        order.push_back(writers[first_file + k].get()), paths.push_back(files[k].first);
    for (std::size_t k = 0; k < order.size(); ++k) {
        order[k]->keep_old();
        if (const WriteResult done = order[k]->publish(); !done.ok) {
            std::string restored = "; " + what + "'s old files were put back";
            for (std::size_t j = k; j-- > 0;)
                if (const WriteResult back = order[j]->revert(); !back.ok)
                    restored = "; " + shown_path(paths[j]) + " could not be put back: " + back.error;
            outcome.problem = "cannot write " + shown_path(paths[k]) + ": " + done.error + restored;
            return outcome;
        }
    }
    return outcome;
}
