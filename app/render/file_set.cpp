#include "app/render/file_set.hpp"

#include "app/render/report_line.hpp"
#include "app/render/stop_signals.hpp"
#include "canvas/file_output.hpp"

#include <csignal>
#include <memory>

int publish_file_set(const std::vector<std::pair<std::string, std::string>>& files, const std::string& what,
                     std::FILE* report) {
    std::vector<std::unique_ptr<FileWriter>> writers;
    for (const auto& [path, bytes] : files) {
        writers.push_back(std::make_unique<FileWriter>(path));
        writers.back()->append(bytes);
        if (const WriteResult made = writers.back()->finish(); !made.ok) {
            report_line(report, "cannot write " + path + ": " + made.error + "; nothing of " + what + " was written");
            return 1;
        }
    }
    if (const int signal = StopSignals::received()) {
        report_line(report, std::string("stopped by ") + (signal == SIGINT ? "SIGINT" : "SIGTERM") + ": nothing of " +
                                what + " was written");
        return exit_code_for_signal(signal);
    }
    for (std::size_t k = 0; k < files.size(); ++k) {
        writers[k]->keep_old();
        if (const WriteResult done = writers[k]->publish(); !done.ok) {
            std::string restored = "; " + what + "'s old files were put back";
            for (std::size_t j = k; j-- > 0;)
                if (const WriteResult back = writers[j]->revert(); !back.ok)
                    restored = "; " + files[j].first + " could not be put back: " + back.error;
            report_line(report, "cannot write " + files[k].first + ": " + done.error + restored);
            return 1;
        }
    }
    return 0;
}
