#include "app/render/shard_merge.hpp"

#include "app/render/output_lock.hpp"
#include "app/render/report_line.hpp"
#include "canvas/file_output.hpp"
#include "export/formats/manifest_reader.hpp"

#include <optional>

int merge_shards(const std::string& folder, std::FILE* report) {
    const ShardSet set = read_shard_manifests(folder);
    if (!set.problem.empty()) {
        report_line(report, "merge: " + set.problem);
        return 2;
    }
    const std::string path = folder + "/manifest.json";
    std::string problem;
    const std::optional<OutputLock> lock = OutputLock::acquire(path, problem);
    if (!lock) {
        report_line(report, "merge: " + problem);
        return 2;
    }
    const std::string text = merged_manifest_text(set.shards);
    if (const WriteResult written = write_file_safely(path, {text.begin(), text.end()}); !written.ok) {
        report_line(report, "merge: cannot write " + path + ": " + written.error);
        return 1;
    }
    return 0;
}
