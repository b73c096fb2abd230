#include "export/output/output_folder.hpp"

#include "export/shown_text.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

std::string folder_of(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

std::optional<OpenFolder> open_output_folder(const std::string& out, std::string& problem) {
    // Made and opened by the rule a save follows: no link planted on the way is followed.
    WriteResult why;
    std::optional<OpenFolder> folder = OpenFolder::open(out, true, why);
    if (!folder) {
        problem = "cannot create " + shown_path(out) + ": " + why.error;
        return std::nullopt;
    }
    std::string probe = folder->path() + "/.brannoc-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        problem = "cannot write to " + shown_path(out) + ": " + std::strerror(errno);
        return std::nullopt;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return folder;
}
