#include "export/output/stale_manifests.hpp"

#include "canvas/open_folder.hpp"

#include "export/formats/manifest.hpp"
#include "export/formats/manifest_reader.hpp"
#include "export/formats/world_manifest.hpp"
#include "canvas/file_output.hpp"
#include "canvas/file_input.hpp"
#include "export/run_options.hpp"

#include <fcntl.h>
#include <map>
#include <set>
#include <filesystem>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
using json = nlohmann::json;

// Replaces a finished manifest's tail, in place, by the stale one.
bool mark(const std::string& path, const std::string& why) {
    const std::string done = manifest_tail(true), stale = stale_manifest_tail(why);
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    std::string end(done.size(), '\0');
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= static_cast<off_t>(done.size()) &&
              ::pread(fd, end.data(), end.size(), info.st_size - static_cast<off_t>(done.size())) ==
                  static_cast<ssize_t>(end.size()) &&
              end == done;
    ok = ok && ::pwrite(fd, stale.data(), stale.size(), info.st_size - static_cast<off_t>(done.size())) ==
                   static_cast<ssize_t>(stale.size());
    ::close(fd);
    return ok;
}

// The indices [first, end) a manifest's head says it lists.
bool range_of(const json& head, long long& first, long long& end) {
    const auto whole = [](const json& object, const char* key, long long& out) {
        if (!object.is_object() || !object.contains(key)) return false;
        const json& v = object[key];
        if (!v.is_number_integer() && !v.is_number_unsigned()) return false;
        out = v.get<long long>();
        return true;
    };
    if (head.contains("shard")) return whole(head["shard"], "first", first) && whole(head["shard"], "end", end);
    first = 0;
    return head.contains("settings") && whole(head["settings"], "count", end);
}

// A run's manifests by name, with the tiles and settings their heads give.
template <typename Visit>
void each_run_manifest(const std::string& folder, Visit visit) {
    static const std::regex run_manifest_name(R"(manifest(\.[0-9]{1,7}-of-[0-9]{1,7})?\.json)");
    std::error_code error;
    for (fs::directory_iterator it(opened_path(folder), error), stop; !error && it != stop; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!std::regex_match(name, run_manifest_name)) continue;
        const json head = read_manifest_head(it->path().string());
        if (head.is_discarded() || !head.contains("settings") || !head["settings"].is_object()) continue;
        const json& settings = head["settings"];
        const json& kind = settings.contains("kind") ? settings["kind"] : json();
        long long first = 0, end = 0;
        if (!kind.is_string() || !range_of(head, first, end)) continue;
        visit(it->path(), kind.get<std::string>() + "-*", first, end, settings);
    }
}
}  // namespace

std::string manifest_of_run(const std::string& folder, const std::string& family, long long first, long long end) {
    std::string found;
    each_run_manifest(folder, [&](const fs::path& path, const std::string& their_family, long long their_first,
                                  long long their_end, const json&) {
        if (found.empty() && their_family == family && their_first == first && their_end == end)
            found = path.filename().string();
    });
    return found;
}

int mark_stale_manifests(const RenderSettings& settings, const std::string& own) {
    const std::string family = tile_family(tile_file_name(settings, 0));
    const json ours = settings_block(settings);
    const long long first = shard_first(settings), end = shard_end(settings);
    const std::string own_name = fs::path(own).filename().string();
    const std::string why = "files it lists were replaced by a later run, listed in " + own_name;
    int marked = 0;
    each_run_manifest(settings.out, [&](const fs::path& path, const std::string& their_family, long long their_first,
                                        long long their_end, const json& theirs) {
        if (path.filename() == own_name || their_family != family || their_end <= first || end <= their_first ||
            theirs == ours)
            return;
        if (mark(path.string(), why)) ++marked;
    });
    return marked;
}

int mark_stale_world_manifests(const std::vector<std::string>& paths, const std::string& own) {
    static const std::regex world_manifest_name(R"(world(_[0-9]{1,7})?\.json)");
    std::map<std::string, std::set<std::string>> by_folder;
    for (const std::string& path : paths) {
        const fs::path p(path);
        by_folder[p.parent_path().empty() ? "." : p.parent_path().string()].insert(p.filename().string());
    }
    const std::string why = "files it lists were replaced by a later run, listed in " + fs::path(own).filename().string();
    int marked = 0;
    for (const auto& [folder, names] : by_folder) {
        std::error_code error;
        for (fs::directory_iterator it(opened_path(folder), error), stop; !error && it != stop; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (!std::regex_match(name, world_manifest_name) || names.count(name)) continue;
            const ReadResult read = read_regular_file(it->path().string(), largest_world_manifest_file);
            if (!read.ok) continue;
            const std::string text(read.bytes.begin(), read.bytes.end());
            const json m = json::parse(text, nullptr, false);
            if (!m.is_object() || !m.contains("files") || !m["files"].is_object()) continue;
            const bool lists = std::any_of(names.begin(), names.end(),
                                           [&](const std::string& written) { return m["files"].contains(written); });
            const std::string stale = lists ? world_manifest_not_complete(text, why) : std::string();
            if (!stale.empty() && write_file_safely(it->path().string(), {stale.begin(), stale.end()}).ok) ++marked;
        }
    }
    return marked;
}
