#include "app/render/shard_merge.hpp"

#include "app/render/file_set.hpp"
#include "export/output/output_lock.hpp"
#include "app/render/report_line.hpp"
#include "canvas/file_output.hpp"
#include "canvas/open_folder.hpp"
#include "export/formats/manifest.hpp"
#include "export/formats/manifest_reader.hpp"
#include "export/run_options.hpp"
#include "export/shown_text.hpp"
#include "export/formats/world_file_names.hpp"
#include "export/world/world_merge.hpp"

#include <map>
#include <optional>

namespace {
const char* const merge_help =
    "usage: brannoc-render merge [--split N] [--quiet] DIR\n"
    "\n"
    "Joins the shard manifests of one run split with --shard K/N (DIR/manifest.K-of-N.json) into\n"
    "DIR/manifest.json, as one unsharded run would have written it; or the chunks of a world drawn with\n"
    "brannoc-render world --shard K/N (DIR/world_K.json) into DIR/world.world, Tiled's world of the\n"
    "chunk maps, DIR/world_chunks.tscn and DIR/godot3/world_chunks.tscn, Godot scenes of the chunks,\n"
    "and DIR/world_chunks.json, what the merge wrote. Every shard or chunk must be there once,\n"
    "finished, not stale (no later run replaced its files) and of the same run and options, a chunk\n"
    "in its own place of the grid with its own map and files, and every file they list must be in DIR\n"
    "with the size and content hash it was written with.\n"
    "\n"
    "  --split N   merge the split into N shards when another split's manifests are there too\n"
    "  --quiet     no summary line\n"
    "  --help      this help\n";

const char* const merge_usage = "usage: brannoc-render merge [--split N] [--quiet] DIR (see merge --help)";
}  // namespace

namespace {
// The chunks of a world (world_K.json) joined into DIR/world.world.
int merge_world(const MergeRequest& request, std::FILE* out, std::FILE* report) {
    // The merge's own files, and every file of every chunk: no run may
    // replace them while they are checked and joined.
    std::vector<std::string> claimed = merged_world_file_names();
    for (const auto& [index, name] : world_chunk_manifests(request.folder))
        for (const std::string& file : world_file_names(name.substr(0, name.size() - 5)))
            claimed.push_back(file);
    std::string problem;
    const std::optional<OutputLock> lock =
        OutputLock::acquire(request.folder, LockClaim{claimed, {}, 0, 0, nullptr, nullptr}, problem);
    if (!lock) {
        report_line(report, "merge: " + problem);
        return 2;
    }
    if (const std::string removed = lock->leftovers_line(request.folder); !removed.empty() && !request.quiet)
        report_line(report, "merge: " + removed);
    // Godot 3's folder, where the chunks' Godot 3 files lie and its scene of them goes.
    WriteResult why;
    const std::optional<OpenFolder> godot3 = OpenFolder::open(request.folder + "/" + world_godot3_folder, true, why);
    if (!godot3) {
        report_line(report, "merge: cannot open " + shown_path(request.folder + "/" + world_godot3_folder) + ": " +
                                why.error);
        return 2;
    }
    WorldMerge merged = merge_world_chunks(request.folder);
    if (merged.problem) {
        report_line(report, "merge: " + *merged.problem);
        return 2;
    }
    for (auto& [name, bytes] : merged.files) name = request.folder + "/" + name;
    if (const int code = publish_file_set(merged.files, "the merged world", report, &merged.manifest_not_complete);
        code != 0)
        return code;
    if (!request.quiet) {
        std::fprintf(out, "brannoc-render merge: %d world chunks into %s, listed in %s\n", merged.chunks,
                     shown_path(merged.files.front().first).c_str(), shown_path(merged.files.back().first).c_str());
        std::fflush(out);
    }
    return 0;
}
}  // namespace

int merge_shards(const MergeRequest& request, std::FILE* out, std::FILE* report) {
    const std::string& folder = request.folder;
    // Everything the merge reads and writes goes through the folder's descriptor.
    WriteResult why;
    const std::optional<OpenFolder> opened = OpenFolder::open(folder, false, why);
    if (!opened) {
        report_line(report, "merge: cannot open " + shown_path(folder) + ": " + why.error);
        return 2;
    }
    // One merge joins one set: shards of a tile run beside a world's chunks
    // would otherwise be passed over without a word.
    const std::map<int, std::string> chunks = world_chunk_manifests(folder);
    const std::string chunk = chunks.empty() ? "" : chunks.begin()->second, shard = first_shard_manifest(folder);
    if (!chunk.empty() && !shard.empty()) {
        report_line(report, "merge: " + shown_path(folder) + " holds the shards of a tile run (" + shown(shard) +
                                ", ...) and the chunks of a world (" + shown(chunk) +
                                ", ...): move one set to a folder of its own, then merge each");
        return 2;
    }
    if (!chunk.empty()) return merge_world(request, out, report);
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
