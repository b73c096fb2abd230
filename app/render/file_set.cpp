#include "app/render/file_set.hpp"

#include "app/render/report_line.hpp"
#include "app/render/stop_signals.hpp"
#include "export/output/publish_files.hpp"

int publish_file_set(const std::vector<std::pair<std::string, std::string>>& files, const std::string& what,
                     std::FILE* report, const std::string* manifest_not_complete,
                     std::vector<StreamedWrite> streamed) {
    const PublishOutcome done =
        publish_files(files, what, manifest_not_complete, StopSignals::received, std::move(streamed));
    if (!done.problem) return 0;
    report_line(report, *done.problem);
    return done.stop_signal ? exit_code_for_signal(done.stop_signal) : 1;
}
