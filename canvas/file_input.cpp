#include "canvas/file_input.hpp"

#include "canvas/open_folder.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string size_text(std::size_t bytes) {
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0) return std::to_string(bytes / (1024 * 1024)) + " MB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KB";
    return std::to_string(bytes) + " bytes";
}
}  // namespace

ReadResult read_regular_file(const std::string& path, std::size_t max_bytes) {
    ReadResult result;
    if (path.find('\0') != std::string::npos) return {false, {}, "the file name holds a NUL character"};
    const int fd = ::open(opened_path(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return {false, {}, std::strerror(errno)};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        ::close(fd);
        return {false, {}, folder ? "is a folder, not a file" : "is not a regular file"};
    }
    if (static_cast<std::uint64_t>(info.st_size) > max_bytes) {
        ::close(fd);
        return {false, {}, "is larger than " + size_text(max_bytes)};
    }
    result.bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    // The size may change while reading: never past max_bytes either way.
    while (true) {
        if (done == result.bytes.size()) {
            if (done >= max_bytes + 1) break;
            result.bytes.resize(std::min(max_bytes + 1, done + 65536));
        }
        const ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return {false, {}, std::strerror(error)};
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (done > max_bytes) return {false, {}, "is larger than " + size_text(max_bytes)};
    result.bytes.resize(done);
    result.ok = true;
    return result;
}
