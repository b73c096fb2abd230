#include "canvas/link_rule.hpp"

#include <climits>
#include <unistd.h>

namespace {
const char* const refused_link = "a symbolic link another user made in a shared folder is not followed";
const char* const refused_foreign_link = "a symbolic link another user made to what is not theirs is not followed";

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
}  // namespace

const char* refusal_of_link(const std::string& folder, const std::string& link, const struct stat& link_info) {
    if (link_info.st_uid == ::geteuid() || link_info.st_uid == 0) return nullptr;
    struct stat holder {};
    if (::stat(folder.c_str(), &holder) == 0 && (holder.st_mode & S_ISVTX) && (holder.st_mode & S_IWOTH) &&
        link_info.st_uid != holder.st_uid)
        return refused_link;
    char text[PATH_MAX];
    const ssize_t n = ::readlink(link.c_str(), text, sizeof text - 1);
    if (n <= 0) return nullptr;  // gone: the write itself will say so
    text[n] = '\0';
    const std::string named = text[0] == '/' ? std::string(text) : folder + "/" + text;
    struct stat target {};
    if (::stat(named.c_str(), &target) != 0 && ::stat(folder_of(named).c_str(), &target) != 0) return nullptr;
    return target.st_uid == link_info.st_uid ? nullptr : refused_foreign_link;
}

