#include "app/render/output_lock.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

std::string OutputLock::path_for(const std::string& manifest_path) {
    const std::filesystem::path manifest(manifest_path);
    return (manifest.parent_path() / ("." + manifest.filename().string() + ".lock")).string();
}

std::optional<OutputLock> OutputLock::acquire(const std::string& manifest_path, std::string& problem) {
    const std::string path = path_for(manifest_path);
    // The lock file is removed by its holder on release; a lock taken on a
    // file already unlinked is taken again on the new one.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (fd < 0) {
            problem = "cannot lock " + path + ": " + std::strerror(errno);
            return std::nullopt;
        }
        struct stat held {
        }, named{};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            problem = "cannot lock " + path + ": not a regular file";
            return std::nullopt;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            problem = error == EWOULDBLOCK ? "another run is writing there: it holds " + path
                                           : "cannot lock " + path + ": " + std::strerror(error);
            return std::nullopt;
        }
        if (::stat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino && named.st_dev == held.st_dev)
            return OutputLock(path, fd);
        ::close(fd);
    }
    problem = "cannot lock " + path + ": it keeps changing";
    return std::nullopt;
}

OutputLock::OutputLock(OutputLock&& other) noexcept : path_(std::move(other.path_)), fd_(other.fd_) { other.fd_ = -1; }

OutputLock::~OutputLock() {
    if (fd_ < 0) return;
    ::unlink(path_.c_str());
    ::close(fd_);
}
