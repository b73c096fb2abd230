#include "canvas/file_identity.hpp"

#include <climits>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
}  // namespace

FileIdentity file_identity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return {info.st_dev, info.st_ino, {}};
    // Not there: where a write would create it, following dangling links.
    std::string target = path;
    for (int hops = 0; hops < 40 && ::lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode); ++hops) {
        char link[PATH_MAX];
        const ssize_t n = ::readlink(target.c_str(), link, sizeof link - 1);
        if (n <= 0) break;
        link[n] = '\0';
        target = link[0] == '/' ? std::string(link) : folder_of(target) + "/" + link;
    }
    const std::size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (::stat(folder_of(target).c_str(), &info) == 0 && !name.empty() && name != "." && name != "..")
        return {info.st_dev, info.st_ino, name};
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(target, error);
    return {0, 0, (error ? std::filesystem::path(target) : full).lexically_normal().string()};
}
