#include "app/render/output_folder.hpp"

#include "canvas/file_output.hpp"
#include "export/shown_text.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

std::string folder_of(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

std::string check_output_folder(const std::string& out) {
    // Made by the rule a save follows: no link planted on the way is followed.
    if (const WriteResult made = make_folder(out); !made.ok)
        return "cannot create " + shown_path(out) + ": " + made.error;
    std::string probe = out + "/.brannoc-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) return "cannot write to " + shown_path(out) + ": " + std::strerror(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}
