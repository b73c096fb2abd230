#include "app/render/stale_manifests.hpp"

#include "export/formats/manifest.hpp"
#include "export/formats/manifest_reader.hpp"
#include "export/run_options.hpp"

#include <fcntl.h>
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
}  // namespace

int mark_stale_manifests(const RenderSettings& settings, const std::string& own) {
    static const std::regex run_manifest_name(R"(manifest(\.[0-9]{1,7}-of-[0-9]{1,7})?\.json)");
    const std::string family = tile_family(tile_file_name(settings, 0));
    const json ours = settings_block(settings);
    const long long first = shard_first(settings), end = shard_end(settings);
    const std::string why =
        "files it lists were replaced by a later run, listed in " + fs::path(own).filename().string();
    int marked = 0;
    std::error_code error;
    for (fs::directory_iterator it(settings.out, error), stop; !error && it != stop; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!std::regex_match(name, run_manifest_name) || fs::path(own).filename() == name) continue;
        const json head = read_manifest_head(it->path().string());
        if (head.is_discarded() || !head["settings"].is_object()) continue;
        const json& theirs = head["settings"];
        const auto text = [&](const char* key) {
            return theirs.contains(key) && theirs[key].is_string() ? theirs[key].get<std::string>() : std::string();
        };
        const std::string their_family = text("kind") + "-*." + text("format");
        long long their_first = 0, their_end = 0;
        if (their_family != family || !range_of(head, their_first, their_end)) continue;
        if (their_end <= first || end <= their_first || theirs == ours) continue;
        if (mark(it->path().string(), why)) ++marked;
    }
    return marked;
}
