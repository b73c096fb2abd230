#include "app/render/shard_merge.hpp"

#include "app/render/file_set.hpp"
#include "app/render/output_folder.hpp"
#include "app/render/output_lock.hpp"
#include "app/render/report_line.hpp"
#include "canvas/file_output.hpp"
#include "export/formats/manifest.hpp"
#include "export/formats/manifest_reader.hpp"
#include "export/run_options.hpp"
#include "export/shown_text.hpp"
#include "export/world/world_folders.hpp"
#include "export/world/world_merge.hpp"

#include <optional>

namespace {
const char* const merge_help =
    "usage: brannoc-render merge [--split N] [--quiet] DIR\n"
    "\n"
    "Joins the shard manifests of one run split with --shard K/N (DIR/manifest.K-of-N.json) into\n"
    "DIR/manifest.json, as one unsharded run would have written it; or the chunks of a world drawn with\n"
    "brannoc-render world --shard K/N (DIR/world_K.json) into DIR/world.world, which Tiled opens as\n"
    "one map, and DIR/world_chunks.tscn and DIR/godot3/world_chunks.tscn, Godot scenes of the\n"
    "chunks. Every shard or chunk must be there once, finished, not stale (no later run replaced its\n"
    "files) and of the same run and options, and every file they list must be in DIR with the size\n"
    "and content hash it was written with.\n"
    "\n"
    "  --split N   merge the split into N shards when another split's manifests are there too\n"
    "  --quiet     no summary line\n"
    "  --help      this help\n";

const char* const merge_usage = "usage: brannoc-render merge [--split N] [--quiet] DIR (see merge --help)";
}  // namespace

namespace {
// The chunks of a world (world_K.json) joined into DIR/world.world.
int merge_world(const MergeRequest& request, std::FILE* out, std::FILE* report) {
    std::string problem;
    const std::optional<OutputLock> lock = OutputLock::acquire(
        request.folder,
        LockClaim{
            {"world.world", "world_chunks.tscn", world_godot3_path("world_chunks.tscn")}, {}, 0, 0, nullptr, nullptr},
        problem);
    if (!lock) {
        report_line(report, "merge: " + problem);
        return 2;
    }
    const WorldMerge merged = merge_world_chunks(request.folder);
    if (merged.problem) {
        report_line(report, "merge: " + *merged.problem);
        return 2;
    }
    const std::string path = request.folder + "/world.world";
    if (const std::string problem = check_output_folder(request.folder + "/" + world_godot3_folder); !problem.empty()) {
        report_line(report, "merge: " + problem);
        return 2;
    }
    const std::vector<std::pair<std::string, std::string>> files = {
        {path, merged.world_file},
        {request.folder + "/world_chunks.tscn", merged.godot_scene},
        {request.folder + "/" + world_godot3_path("world_chunks.tscn"), merged.godot3_scene}};
    if (const int code = publish_file_set(files, "the merged world", report); code != 0) return code;
    if (!request.quiet) {
        std::fprintf(out, "brannoc-render merge: %d world chunks into %s\n", merged.chunks, path.c_str());
        std::fflush(out);
    }
    return 0;
}
}  // namespace

int merge_shards(const MergeRequest& request, std::FILE* out, std::FILE* report) {
    const std::string& folder = request.folder;
    if (has_world_chunks(folder)) return merge_world(request, out, report);
    ShardSet set = read_shard_manifests(folder, request.split);
    if (set.problem) {
        report_line(report, "merge: " + *set.problem);
        return 2;
    }
    // manifest.json, and the run's tiles: no run may replace them while
    // they are checked and listed.
    const std::string first_file = set.shards.front().manifest["tiles"].empty()
                                       ? std::string()
                                       : set.shards.front().manifest["tiles"][0]["file"].get<std::string>();
    const long long count = set.shards.front().manifest["settings"]["count"].get<long long>();
    const LockClaim claim{{"manifest.json"}, tile_family(first_file), 0, count, nullptr, nullptr};
    std::string problem;
    const std::optional<OutputLock> lock = OutputLock::acquire(folder, claim, problem);
    if (!lock) {
        report_line(report, "merge: " + problem);
        return 2;
    }
    if (const Problem changed = check_listed_files(folder, set.shards)) {
        report_line(report, "merge: " + *changed);
        return 2;
    }
    const std::string path = folder + "/manifest.json";
    const std::string text = merged_manifest_text(set.shards);
    if (const WriteResult written = write_file_safely(path, {text.begin(), text.end()}); !written.ok) {
        report_line(report, "merge: cannot write " + shown_path(path) + ": " + written.error);
        return 1;
    }
    if (!request.quiet) {
        const std::size_t shards = set.shards.size();
        std::fprintf(out, "brannoc-render merge: %lld %s from %zu shards into %s\n", count,
                     count == 1 ? "tile" : "tiles", shards, path.c_str());
        std::fflush(out);
    }
    return 0;
}

int merge_shards(const std::string& folder, std::FILE* report) {
    return merge_shards(MergeRequest{folder, 0, true}, stdout, report);
}

int merge_command(const std::vector<std::string>& args, std::FILE* out, std::FILE* report) {
    MergeRequest request;
    bool have_folder = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (arg == "--help" || arg == "-h") {
            std::fputs(merge_help, out);
            return 0;
        }
        if (arg == "--quiet") {
            request.quiet = true;
        } else if (arg == "--split" || arg.rfind("--split=", 0) == 0) {
            const std::string value = arg == "--split" ? (k + 1 < args.size() ? args[++k] : "") : arg.substr(8);
            long long n = 0;
            if (!read_whole_number(value, n) || n < 2 || n > 1'000'000) {
                report_line(report, "merge: --split: " + in_quotes(value) + " is not a number of shards from 2");
                return 2;
            }
            request.split = static_cast<int>(n);
        } else if (arg.rfind("--", 0) == 0 && arg.size() > 2) {
            report_line(report, "merge: unknown option " + in_quotes(arg) + "; " + merge_usage);
            return 2;
        } else if (have_folder || arg.empty()) {
            report_line(report, merge_usage);
            return 2;
        } else {
            request.folder = arg;
            have_folder = true;
        }
    }
    if (!have_folder) {
        report_line(report, merge_usage);
        return 2;
    }
    return merge_shards(request, out, report);
}
