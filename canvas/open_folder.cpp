#include "canvas/open_folder.hpp"

#include "canvas/link_rule.hpp"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
const std::string fd_root = "/proc/self/fd/";

// The folders open now, by the name the run gave each (without trailing
// slashes); the drawing threads look them up as they write.
std::mutex registry_mutex;
std::map<std::string, int>& registry() {
    static std::map<std::string, int> folders;
    return folders;
}

std::string without_trailing_slashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string through(int fd) { return fd_root + std::to_string(fd); }

WriteResult failure(int error) { return {false, std::strerror(error)}; }

// Whether /proc/self/fd reaches open folders here (it may not be mounted).
bool descriptors_reachable() {
    static const bool reachable = [] {
        struct stat info {};
        return ::stat("/proc/self/fd", &info) == 0 && S_ISDIR(info.st_mode);
    }();
    return reachable;
}
}  // namespace

std::optional<OpenFolder> OpenFolder::open(const std::string& path, bool make, WriteResult& problem) {
    if (path.empty()) return problem = {false, "no folder name"}, std::nullopt;
    if (path.find('\0') != std::string::npos) return problem = {false, "the name holds a NUL character"}, std::nullopt;
    std::vector<std::string> rest;  // components still to walk, the next last
    const auto push_components = [&rest](const std::string& text) {
        std::vector<std::string> parts;
        for (std::size_t at = 0; at <= text.size();) {
            const std::size_t slash = std::min(text.find('/', at), text.size());
            parts.push_back(text.substr(at, slash - at));
            at = slash + 1;
        }
        rest.insert(rest.end(), parts.rbegin(), parts.rend());
    };
    const int flags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int here = ::open(path[0] == '/' ? "/" : ".", flags);
    if (here < 0) return problem = failure(errno), std::nullopt;
    const auto fail = [&](WriteResult why) {
        ::close(here);
        problem = std::move(why);
        return std::nullopt;
    };
    push_components(path);
    for (int hops = 0, tries = 0; !rest.empty();) {
        const std::string name = rest.back();
        rest.pop_back();
        if (name.empty() || name == ".") continue;
        const int next = ::openat(here, name.c_str(), flags);
        if (next >= 0) {
            ::close(here);
            here = next;
            continue;
        }
        const int error = errno;
        struct stat info {};
        if (::fstatat(here, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) return fail(failure(errno));
            if (!make || ++tries >= 100) return fail(failure(ENOENT));
            if (::mkdirat(here, name.c_str(), 0777) != 0 && errno != EEXIST) return fail(failure(errno));
            rest.push_back(name);  // looked at again: a link may have been put there meanwhile
            continue;
        }
        if (!S_ISLNK(info.st_mode)) {
            if (S_ISDIR(info.st_mode) && ++tries < 100) {  // swapped back meanwhile: try again
                rest.push_back(name);
                continue;
            }
            return fail(failure(S_ISDIR(info.st_mode) ? error : ENOTDIR));
        }
        if (++hops > 40) return fail(failure(ELOOP));
        const std::string folder = through(here);
        if (const char* refusal = refusal_of_link(folder, folder + "/" + name, info))
            return fail({false, rest.empty() ? refusal : name + ": " + refusal});
        char text[PATH_MAX];
        const ssize_t n = ::readlinkat(here, name.c_str(), text, sizeof text - 1);
        if (n <= 0) return fail(failure(n < 0 ? errno : ENOENT));
        if (text[0] == '/') {
            const int root = ::open("/", flags);
            if (root < 0) return fail(failure(errno));
            ::close(here);
            here = root;
        }
        push_components(std::string(text, static_cast<std::size_t>(n)));
    }
    return OpenFolder(path, here);
}

OpenFolder::OpenFolder(std::string name, int fd) : name_(without_trailing_slashes(std::move(name))), fd_(fd) {
    const std::lock_guard lock(registry_mutex);
    registry()[name_] = fd_;
}

OpenFolder::OpenFolder(OpenFolder&& other) noexcept : name_(std::move(other.name_)), fd_(other.fd_) {
    other.fd_ = -1;
}

OpenFolder::~OpenFolder() {
    if (fd_ < 0) return;
    {
        const std::lock_guard lock(registry_mutex);
        const auto at = registry().find(name_);
        if (at != registry().end() && at->second == fd_) registry().erase(at);
    }
    ::close(fd_);
}

std::string OpenFolder::path() const { return through(fd_); }

std::string opened_path(const std::string& path) {
    if (!descriptors_reachable() || descriptor_prefix(path) > 0) return path;
    const std::lock_guard lock(registry_mutex);
    if (registry().empty()) return path;
    const std::string whole = without_trailing_slashes(path);
    if (const auto at = registry().find(whole); at != registry().end()) return through(at->second);
    const std::size_t slash = whole.rfind('/');
    if (slash == std::string::npos) {
        const auto at = registry().find(".");
        return at == registry().end() ? path : through(at->second) + "/" + whole;
    }
    const std::string folder = without_trailing_slashes(whole.substr(0, slash == 0 ? 1 : slash));
    const auto at = registry().find(folder);
    return at == registry().end() ? path : through(at->second) + "/" + whole.substr(slash + 1);
}

std::size_t descriptor_prefix(const std::string& path) {
    if (path.compare(0, fd_root.size(), fd_root) != 0) return 0;
    std::size_t end = fd_root.size();
    while (end < path.size() && path[end] >= '0' && path[end] <= '9') ++end;
    if (end == fd_root.size() || (end < path.size() && path[end] != '/')) return 0;
    return end;
}
